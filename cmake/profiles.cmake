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

# kt_profile_resources(<target> <a|b>): the resource script of a Windows module is compiled for the
# module's profile, as UTF-8 (the dialogs are Japanese).
function(kt_profile_resources target profile)
  string(TOUPPER "${profile}" upper)
  target_compile_definitions(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:KT_PROFILE_${upper}=1>)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:--codepage=65001>)
endfunction()
