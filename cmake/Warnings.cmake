# Warnings are errors on every compiler and target.
add_compile_options(-Wall -Wextra -Wshadow -Werror)
# Layout tables name only the fields that differ from the defaults.
add_compile_options(-Wno-missing-field-initializers)

if(RF_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(RF_WINDOWS)
  # ANSI texts of the system: the Win32 A functions, no UNICODE macros.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # No MinGW run-time DLLs on a user's machine.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# Source files are UTF-8; every narrow literal is compiled into the ANSI
# code page 1252 the system's texts live in.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=CP1252>)
endif()
