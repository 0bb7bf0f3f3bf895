# zov_warnings: the warning flags every target of ours compiles with. ZOV_WERROR turns them into
# errors; it is off by default so that a newer compiler's new warning never stops a user's build,
# and on in tools/test and CI.
add_library(zov_warnings INTERFACE)
target_compile_options(
  zov_warnings
  INTERFACE -Wall
            -Wextra
            -Wpedantic
            -Wshadow
            -Wconversion
            -Wsign-conversion
            $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>
            $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
# GCC 12 at -O3 warns that the memcpy inlined from "literal" + std::string may overlap (GCC bug
# 105651, a false positive in std::string::insert); that one warning is off for that one compiler.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(zov_warnings INTERFACE -Wno-restrict)
endif()
# With the sanitizers' instrumentation GCC cannot follow initialisation through std::function and
# std::regex in the standard headers and warns "may be used uninitialized" there; the sanitizers
# themselves check what that warning guesses at.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND ZOV_SANITIZE)
  target_compile_options(zov_warnings INTERFACE -Wno-maybe-uninitialized)
endif()
if(ZOV_WERROR)
  target_compile_options(zov_warnings INTERFACE -Werror)
endif()

# Links zov_warnings into every target that compiles code, in DIR and the folders below it, so
# that a new library or test gets the flags without anyone remembering to ask for them.
function(zov_link_warnings_everywhere dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      target_link_libraries(${target} PRIVATE zov_warnings)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    zov_link_warnings_everywhere(${subdirectory})
  endforeach()
endfunction()
