# Each layer of the product is a library whose headers are reachable only through it: a layer's
# target publishes an include folder of its own in the build tree that holds links to the headers
# of its source folder (and of no subfolder), so a file sees the headers of the layers its target
# links and no others. An include of a layer the target does not link fails to compile.
#
# tovmar_layer_headers(TARGET FOLDER...): publishes the headers directly in each FOLDER (relative
# to the source root, e.g. "render" or "render/window") as TARGET's include folder. Where the file
# system makes no symbolic links the source root is published instead; scripts/check-layers.sh
# still checks the includes there.
function(tovmar_layer_headers target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target}/include)
  # Made again at each configuration, so that a header removed from the tree does not linger.
  file(REMOVE_RECURSE ${root})
  set(linked TRUE)
  foreach(folder IN LISTS ARGN)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.h)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} RESULT failed SYMBOLIC)
      if(failed)
        set(linked FALSE)
      endif()
    endforeach()
  endforeach()
  if(linked)
    target_include_directories(${target} PUBLIC ${root})
  else()
    message(STATUS "${target}: no symbolic links here, its headers are found in the source tree")
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  endif()
endfunction()
