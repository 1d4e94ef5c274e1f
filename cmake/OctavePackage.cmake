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
  "serialise=Data exchange"
  "nifti=Image files")

# The sources of a library, relative to the project folder.
function(_nrx_package_sources library out)
  get_target_property(sources ${library} SOURCES)
  get_target_property(folder ${library} SOURCE_DIR)
  set(result "")
  foreach(source IN LISTS sources)
    if(NOT IS_ABSOLUTE "${source}")
      set(source "${folder}/${source}")
    endif()
    file(RELATIVE_PATH relative "${PROJECT_SOURCE_DIR}" "${source}")
    list(APPEND result "${relative}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Appends `library` and the project libraries it links to the list named by
# `list_name`, every library before those it uses (the order a static link
# needs).
function(_nrx_package_link_order library list_name)
  set(_order ${${list_name}})
  list(REMOVE_ITEM _order ${library})
  get_target_property(used ${library} LINK_LIBRARIES)
  set(dependencies "")
  foreach(dependency IN LISTS used)
    if(TARGET ${dependency} AND dependency MATCHES "^nrx_")
      list(APPEND dependencies ${dependency})
    endif()
  endforeach()
  list(APPEND _order ${library})
  foreach(dependency IN LISTS dependencies)
    _nrx_package_link_order(${dependency} _order)
  endforeach()
  set(${list_name} "${_order}" PARENT_SCOPE)
endfunction()

function(nrx_add_octave_package)
  if(NOT NRX_PLUGINS OR NRX_MATLAB)
    return()
  endif()
  set(name_version "nrx-${PROJECT_VERSION}")
  set(stage "${CMAKE_BINARY_DIR}/octave-package/${name_version}")
  set(tarball "${CMAKE_BINARY_DIR}/dist/${name_version}.tar.gz")
  get_property(plugins GLOBAL PROPERTY NRX_PLUGIN_NAMES)

  # Every header and source of the shared folders and of the subsystems
  # that have plug-ins goes into src/, keeping the folder layout the
  # includes use.
  set(folders core host)
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

  # src/Makefile: every source compiled once into an object, each library
  # packed once into an archive, then one mkoctfile link per plug-in of its
  # gateway, the frame and the archives it uses, with the project's
  # exactness and visibility flags.
  _nrx_package_sources(nrx_host_frame frame_sources)
  string(REPLACE ".cpp" ".o" frame_objects "${frame_sources}")
  set(objects ${frame_objects})
  set(includes "-I.")
  set(archives "")
  set(archive_rules "")
  set(rules "")
  set(targets "")
  foreach(plugin IN LISTS plugins)
    get_property(subsystem GLOBAL PROPERTY NRX_PLUGIN_${plugin}_SUBSYSTEM)
    get_property(libraries GLOBAL PROPERTY NRX_PLUGIN_${plugin}_LIBRARIES)
    get_property(flags GLOBAL PROPERTY NRX_PLUGIN_${plugin}_PACKAGE_FLAGS)
    set(order "")
    foreach(library IN LISTS libraries ITEMS nrx_host)
      _nrx_package_link_order(${library} order)
    endforeach()
    set(inputs_of_plugin "${subsystem}/${plugin}.o" ${frame_objects})
    list(APPEND objects "${subsystem}/${plugin}.o")
    foreach(library IN LISTS order)
      list(APPEND inputs_of_plugin "lib/${library}.a")
      if(NOT library IN_LIST archives)
        list(APPEND archives ${library})
        _nrx_package_sources(${library} sources)
        string(REPLACE ".cpp" ".o" library_objects "${sources}")
        list(APPEND objects ${library_objects})
        string(JOIN " " library_objects ${library_objects})
        string(APPEND archive_rules "lib/${library}.a: ${library_objects}\n"
                                    "\t@mkdir -p lib\n\t$(AR) rcs $@ $^\n\n")
      endif()
    endforeach()
    # Include folders are for compiling, the rest for linking.
    set(link_flags "")
    foreach(flag IN LISTS flags)
      if(flag MATCHES "^-I")
        list(APPEND includes "${flag}")
      else()
        list(APPEND link_flags "${flag}")
      endif()
    endforeach()
    string(JOIN " " inputs_of_plugin ${inputs_of_plugin})
    string(JOIN " " link_flags ${link_flags})
    string(APPEND rules "../inst/${plugin}.mex: ${inputs_of_plugin}\n"
                        "\t$(MKOCTFILE) --mex -o $@ $^ ${link_flags} -fopenmp -Wl,--version-script=exports.map\n\n")
    list(APPEND targets "../inst/${plugin}.mex")
    string(APPEND manifest "${PROJECT_SOURCE_DIR}/${subsystem}/${plugin}.m|inst/${plugin}.m\n")
    list(APPEND inputs "${PROJECT_SOURCE_DIR}/${subsystem}/${plugin}.m")
  endforeach()
  string(JOIN " " targets ${targets})
  list(REMOVE_DUPLICATES objects)
  string(JOIN " " objects ${objects})
  list(REMOVE_DUPLICATES includes)
  string(JOIN " " includes ${includes})
  file(WRITE "${stage}/src/Makefile"
    "# Builds every plug-in into ../inst, beside its help file, compiling each\n"
    "# source once. pkg runs this with MKOCTFILE set; results must not depend\n"
    "# on fused multiply-adds, and a plug-in exports only its entry points.\n"
    "MKOCTFILE ?= mkoctfile\n"
    "export CXXFLAGS := -std=c++17 -O3 -ffp-contract=off -fno-fast-math -fvisibility=hidden -fvisibility-inlines-hidden -fopenmp\n"
    "INCLUDES := ${includes}\n"
    "OBJECTS := ${objects}\n"
    "PLUGINS := ${targets}\n\n"
    "all: $(PLUGINS)\n\n"
    "%.o: %.cpp\n\t$(MKOCTFILE) --mex -c $(INCLUDES) -o $@ $<\n\n"
    "${archive_rules}"
    "${rules}"
    "clean:\n\trm -rf $(PLUGINS) $(OBJECTS) lib\n\n"
    ".PHONY: all clean\n")
  string(APPEND manifest "${NRX_PLUGIN_EXPORTS}|src/exports.map\n")
  list(APPEND inputs "${NRX_PLUGIN_EXPORTS}")

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
    DEPENDS ${inputs} "${stage}/src/Makefile" "${stage}/INDEX" "${stage}/DESCRIPTION"
            "${PROJECT_SOURCE_DIR}/cmake/AssembleOctavePackage.cmake"
    COMMENT "Packing ${name_version}.tar.gz for pkg install")
  add_custom_target(octave_package ALL DEPENDS "${tarball}")
  set(NRX_OCTAVE_PACKAGE "${tarball}" PARENT_SCOPE)
endfunction()
