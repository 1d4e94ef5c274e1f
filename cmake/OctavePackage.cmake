# The Octave package: a tarball that `pkg install` builds with mkoctfile
# (src/Makefile) into inst/, beside the help files, so that `pkg load nrx`
# gives every plug-in with its help.
#
# nrx_add_octave_package() is called once every plug-in is known. It writes
# the package's fixed files at configure time and adds the target
# octave_package (part of the default build), which copies the sources and
# packs dist/nrx-<version>.tar.gz in the build folder.

set(NRX_PACKAGE_CATEGORIES
  "geometry=Deformation geometry"
  "registration=Registration and display"
  "phasemap=Phase-map unwrapping support"
  "segmentation=Segmentation and morphology"
  "statistics=Statistics and sampling"
  "acquisition=Acquisition shared memory"
  "serialise=Data exchange")

function(_nrx_package_sources library out)
  get_target_property(sources ${library} SOURCES)
  get_target_property(folder ${library} SOURCE_DIR)
  set(result "")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${folder}/${source}")
    list(APPEND result "${relative}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(nrx_add_octave_package)
  if(NOT NRX_PLUGINS OR NRX_MATLAB)
    return()
  endif()
  set(name_version "nrx-${PROJECT_VERSION}")
  set(stage "${CMAKE_BINARY_DIR}/octave-package/${name_version}")
  set(tarball "${CMAKE_BINARY_DIR}/dist/${name_version}.tar.gz")
  get_property(plugins GLOBAL PROPERTY NRX_PLUGIN_NAMES)

  # Every header and source of the frame and of the subsystems that have
  # plug-ins goes into src/, keeping the folder layout the includes use.
  set(folders host)
  foreach(plugin IN LISTS plugins)
    get_property(subsystem GLOBAL PROPERTY NRX_PLUGIN_${plugin}_SUBSYSTEM)
    list(APPEND folders ${subsystem})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(manifest "")
  set(inputs "")
  foreach(folder IN LISTS folders)
    file(GLOB files RELATIVE "${PROJECT_SOURCE_DIR}" "${PROJECT_SOURCE_DIR}/${folder}/*.hpp"
                                                       "${PROJECT_SOURCE_DIR}/${folder}/*.cpp")
    foreach(file IN LISTS files)
      string(APPEND manifest "${PROJECT_SOURCE_DIR}/${file}|src/${file}\n")
      list(APPEND inputs "${PROJECT_SOURCE_DIR}/${file}")
    endforeach()
  endforeach()

  # src/Makefile: one mkoctfile call per plug-in, with the frame and the
  # plug-in's kernel sources, and the project's exactness flags.
  _nrx_package_sources(nrx_host_frame frame_sources)
  string(JOIN " " frame_sources ${frame_sources})
  set(rules "")
  set(targets "")
  foreach(plugin IN LISTS plugins)
    get_property(subsystem GLOBAL PROPERTY NRX_PLUGIN_${plugin}_SUBSYSTEM)
    get_property(kernels GLOBAL PROPERTY NRX_PLUGIN_${plugin}_KERNELS)
    get_property(libs GLOBAL PROPERTY NRX_PLUGIN_${plugin}_PACKAGE_FLAGS)
    set(kernel_sources "")
    foreach(kernel IN LISTS kernels)
      _nrx_package_sources(${kernel} sources)
      list(APPEND kernel_sources ${sources})
    endforeach()
    string(JOIN " " kernel_sources ${kernel_sources})
    list(PREPEND libs "$^")
    string(JOIN " " inputs_and_libs ${libs})
    string(APPEND rules "../inst/${plugin}.mex: ${subsystem}/${plugin}.cpp $(FRAME) ${kernel_sources}\n"
                        "\t$(MKOCTFILE) --mex -I. -o $@ ${inputs_and_libs}\n\n")
    list(APPEND targets "../inst/${plugin}.mex")
    string(APPEND manifest "${PROJECT_SOURCE_DIR}/${subsystem}/${plugin}.m|inst/${plugin}.m\n")
    list(APPEND inputs "${PROJECT_SOURCE_DIR}/${subsystem}/${plugin}.m")
  endforeach()
  string(JOIN " " targets ${targets})
  file(WRITE "${stage}/src/Makefile"
    "# Builds every plug-in into ../inst, beside its help file. pkg runs this\n"
    "# with MKOCTFILE set; results must not depend on fused multiply-adds.\n"
    "MKOCTFILE ?= mkoctfile\n"
    "export CXXFLAGS := -std=c++17 -O2 -ffp-contract=off -fno-fast-math\n"
    "FRAME := ${frame_sources}\n"
    "PLUGINS := ${targets}\n\n"
    "all: $(PLUGINS)\n\n"
    "${rules}"
    "clean:\n\trm -f $(PLUGINS)\n\n"
    ".PHONY: all clean\n")

  # INDEX lists every plug-in by subsystem: the generated one would miss
  # MEX files.
  set(index "nrx >> Brain-image analysis kernels\n")
  foreach(category IN LISTS NRX_PACKAGE_CATEGORIES)
    string(REPLACE "=" ";" category "${category}")
    list(GET category 0 folder)
    list(GET category 1 title)
    set(members "")
    foreach(plugin IN LISTS plugins)
      get_property(subsystem GLOBAL PROPERTY NRX_PLUGIN_${plugin}_SUBSYSTEM)
      if(subsystem STREQUAL folder)
        string(APPEND members " ${plugin}")
      endif()
    endforeach()
    if(members)
      string(APPEND index "${title}\n${members}\n")
    endif()
  endforeach()
  file(WRITE "${stage}/INDEX" "${index}")

  string(TIMESTAMP today "%Y-%m-%d")
  file(WRITE "${stage}/DESCRIPTION"
    "Name: nrx\n"
    "Version: ${PROJECT_VERSION}\n"
    "Date: ${today}\n"
    "Author: The nrx developers\n"
    "Maintainer: The nrx developers\n"
    "Title: Brain-image analysis kernels\n"
    "Description: Exact numerical kernels for brain-image analysis as MEX\n"
    " plug-ins: Jacobian determinants and affine moves of deformation fields,\n"
    " joint histograms and maximum-intensity projections, phase-map unwrapping\n"
    " support, tissue-class relaxation, geodesic parcels, local maxima,\n"
    " morphology, NaN-aware counting, gamma sampling, acquisition shared\n"
    " memory and value packing.\n"
    "License: MIT\n")
  string(APPEND manifest "${PROJECT_SOURCE_DIR}/COPYING|COPYING\n")
  list(APPEND inputs "${PROJECT_SOURCE_DIR}/COPYING")
  file(WRITE "${CMAKE_BINARY_DIR}/octave-package/manifest.txt" "${manifest}")

  add_custom_command(
    OUTPUT "${tarball}"
    COMMAND "${CMAKE_COMMAND}" -DMANIFEST=${CMAKE_BINARY_DIR}/octave-package/manifest.txt
            -DSTAGE=${stage} -DTARBALL=${tarball}
            -P "${PROJECT_SOURCE_DIR}/cmake/AssembleOctavePackage.cmake"
    DEPENDS ${inputs} "${PROJECT_SOURCE_DIR}/cmake/AssembleOctavePackage.cmake"
    COMMENT "Packing ${name_version}.tar.gz for pkg install")
  add_custom_target(octave_package ALL DEPENDS "${tarball}")
  set(NRX_OCTAVE_PACKAGE "${tarball}" PARENT_SCOPE)
endfunction()
