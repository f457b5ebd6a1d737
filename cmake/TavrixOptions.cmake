# Warnings and the sanitizer builds shared by every target.
set(TAVRIX_SANITIZE "" CACHE STRING "Sanitizer build: empty, 'address' (ASan+UBSan) or 'thread' (TSan)")
set_property(CACHE TAVRIX_SANITIZE PROPERTY STRINGS "" address thread)

add_compile_options(-Wall -Wextra)

if(TAVRIX_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TAVRIX_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TAVRIX_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TAVRIX_SANITIZE must be empty, 'address' or 'thread'")
endif()
