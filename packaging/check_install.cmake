# Installs the build into a scratch prefix and checks that every file the desktop and the manual
# need lands where it belongs. -DBUILD_DIR=<build> -DPREFIX=<scratch> -DEXPECTED=<paths>
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
foreach(path IN LISTS EXPECTED)
  if(NOT EXISTS ${PREFIX}/${path})
    message(SEND_ERROR "not installed: ${path}")
  endif()
endforeach()
file(REMOVE_RECURSE ${PREFIX})
