# Profile A is the two-head KT-508 family, profile B the one-head KT-936 family.
# kt_profile_definitions(<target> <a|b>) gives a target the profile's compile definition.
function(kt_profile_definitions target profile)
  string(TOUPPER "${profile}" upper)
  target_compile_definitions(${target} PUBLIC KT_PROFILE_${upper}=1)
endfunction()

# The Windows-facing headers: winsim's on Linux, mingw-w64's in the Windows builds.
function(kt_link_platform target)
  if(WIN32)
    target_include_directories(${target} SYSTEM PUBLIC ${PROJECT_SOURCE_DIR}/cmake/mingw-include)
  else()
    target_link_libraries(${target} PUBLIC winsim)
  endif()
endfunction()
