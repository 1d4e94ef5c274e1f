# cmake -DMANIFEST=<file> -DSTAGE=<folder> -DTARBALL=<file> -P AssembleOctavePackage.cmake
#
# Copies every "source|destination" line of MANIFEST into STAGE (which
# already holds the generated DESCRIPTION, INDEX and src/Makefile) and packs
# STAGE, as one top folder, into TARBALL.
file(STRINGS "${MANIFEST}" lines)
foreach(line IN LISTS lines)
  string(REPLACE "|" ";" pair "${line}")
  list(GET pair 0 source)
  list(GET pair 1 destination)
  configure_file("${source}" "${STAGE}/${destination}" COPYONLY)
endforeach()
get_filename_component(parent "${STAGE}" DIRECTORY)
get_filename_component(top "${STAGE}" NAME)
get_filename_component(output_folder "${TARBALL}" DIRECTORY)
file(MAKE_DIRECTORY "${output_folder}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${TARBALL}" "${top}"
                WORKING_DIRECTORY "${parent}" COMMAND_ERROR_IS_FATAL ANY)
