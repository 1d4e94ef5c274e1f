"""Builds the extension module nrx._kernels by driving the project's own CMake
build, so that the kernels are compiled from the same lists with the same
flags as for the plug-ins (which, with Octave, are not needed and not built).
CMake puts the module, the package's Python files and the plug-ins' help
files into the package folder that setuptools installs."""

import os
import re
import subprocess
import sys
from pathlib import Path

import pybind11
from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        # The folder that holds the package folder nrx/.
        package_parent = Path(self.get_ext_fullpath(ext.name)).resolve().parent.parent
        build = Path(self.build_temp).resolve() / "cmake"
        subprocess.run(
            ["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
             "-DNRX_PLUGINS=OFF", "-DNRX_TESTS=OFF", "-DNRX_BENCH=OFF", "-DNRX_PYTHON=ON",
             f"-DNRX_PYTHON_DIR={package_parent}", f"-DPython_EXECUTABLE={sys.executable}",
             f"-Dpybind11_DIR={pybind11.get_cmake_dir()}"],
            check=True)
        subprocess.run(["cmake", "--build", str(build), "--target", "nrx_python", "-j", str(os.cpu_count() or 1)],
                       check=True)


def project_version():
    cmake_lists = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(nrx VERSION ([0-9.]+)", cmake_lists).group(1)


setup(
    version=project_version(),
    ext_modules=[Extension("nrx._kernels", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    # Beside, not inside, the project's CMake build folder.
    options={"build": {"build_base": "build-python"}},
)
