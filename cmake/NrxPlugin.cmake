# nrx_add_plugin(<name> LIBRARIES <lib>... [PACKAGE_FLAGS <flag>...])
#
# Builds the gateway <name>.cpp of the current folder as a host plug-in in
# NRX_PLUGIN_DIR, linked with the host frame and checks and the given kernel
# and argument libraries, and puts the help file <name>.m beside it. A
# plug-in exports exactly mexFunction and mexVersion. PACKAGE_FLAGS are the
# mkoctfile flags (-I..., -l...) of libraries outside the project that the
# kernels need, for the build inside the Octave package.

if(NRX_PLUGINS)
  if(NRX_MATLAB)
    find_package(Matlab REQUIRED COMPONENTS MX_LIBRARY)
  else()
    find_program(MKOCTFILE mkoctfile REQUIRED)
    function(_nrx_mkoctfile_var var out)
      execute_process(COMMAND "${MKOCTFILE}" -p ${var}
                      OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
                      COMMAND_ERROR_IS_FATAL ANY)
      separate_arguments(value UNIX_COMMAND "${value}")
      set(${out} "${value}" PARENT_SCOPE)
    endfunction()
    # The flags mkoctfile uses for MEX files: its include folders and C++
    # flags for compiling, its shared-module flags for linking.
    _nrx_mkoctfile_var(ALL_CXXFLAGS NRX_OCTAVE_CXXFLAGS)
    _nrx_mkoctfile_var(CXXPICFLAG NRX_OCTAVE_PICFLAG)
    _nrx_mkoctfile_var(DL_LDFLAGS NRX_OCTAVE_LDFLAGS)
    _nrx_mkoctfile_var(OCTLIBDIR NRX_OCTAVE_LIBDIR)
    list(REMOVE_ITEM NRX_OCTAVE_LDFLAGS -shared)
  endif()
endif()

set(NRX_PLUGIN_EXPORTS "${CMAKE_CURRENT_LIST_DIR}/plugin_exports.map")

function(nrx_add_plugin name)
  cmake_parse_arguments(PLUGIN "" "" "LIBRARIES;PACKAGE_FLAGS" ${ARGN})
  if(NOT NRX_PLUGINS)
    return()
  endif()
  set(source "${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp")
  if(NRX_MATLAB)
    # matlab_add_mex brings its own export map of the entry points.
    matlab_add_mex(NAME ${name} MODULE SRC "${source}" LINK_TO nrx_host_frame nrx_host ${PLUGIN_LIBRARIES} R2017b)
    target_compile_definitions(${name} PRIVATE MX_COMPAT_32)
  else()
    add_library(${name} MODULE "${source}")
    set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mex")
    target_link_libraries(${name} PRIVATE nrx_host_frame ${PLUGIN_LIBRARIES} nrx_host)
    target_link_options(${name} PRIVATE ${NRX_OCTAVE_LDFLAGS} "LINKER:--version-script=${NRX_PLUGIN_EXPORTS}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${NRX_PLUGIN_EXPORTS}")
  endif()
  set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${NRX_PLUGIN_DIR}")
  configure_file("${CMAKE_CURRENT_SOURCE_DIR}/${name}.m" "${NRX_PLUGIN_DIR}/${name}.m" COPYONLY)
  set_property(GLOBAL APPEND PROPERTY NRX_PLUGIN_NAMES ${name})
  # What the Octave package needs to build the same plug-in with mkoctfile.
  get_filename_component(subsystem "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set_property(GLOBAL PROPERTY NRX_PLUGIN_${name}_SUBSYSTEM ${subsystem})
  set_property(GLOBAL PROPERTY NRX_PLUGIN_${name}_LIBRARIES ${PLUGIN_LIBRARIES})
  set_property(GLOBAL PROPERTY NRX_PLUGIN_${name}_PACKAGE_FLAGS ${PLUGIN_PACKAGE_FLAGS})
endfunction()
