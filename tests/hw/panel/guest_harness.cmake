# The emulated PC that runs the real vellix-term, as a library: its /init (static, since the
# guest holds no libraries but the program's) and the host side that packs the image, boots
# QEMU and reads the guest's reports. The hardware tests and the recording benchmark use it.
if(TARGET vellix_qemu_guest)
  return()
endif()
set(guest_dir ${CMAKE_SOURCE_DIR}/tests/hw/panel)

add_executable(vellix_panel_guest_init ${guest_dir}/guest_init.cpp ${guest_dir}/guest_protocol.cpp
  ${CMAKE_SOURCE_DIR}/tests/hw/guest.cpp)
target_include_directories(vellix_panel_guest_init PRIVATE ${CMAKE_SOURCE_DIR}/tests/hw)
target_link_options(vellix_panel_guest_init PRIVATE -static)

add_library(vellix_qemu_guest STATIC ${guest_dir}/qemu_guest.cpp ${guest_dir}/guest_protocol.cpp
  ${CMAKE_SOURCE_DIR}/tests/ui/term/vt_screen.cpp ${CMAKE_SOURCE_DIR}/tests/ui/term/panel_screen.cpp)
target_include_directories(vellix_qemu_guest PUBLIC ${CMAKE_SOURCE_DIR}/tests ${guest_dir})
target_compile_definitions(vellix_qemu_guest PRIVATE
  VELLIX_TERM_PROGRAM="$<TARGET_FILE:vellix-term>"
  VELLIX_PANEL_GUEST_INIT="$<TARGET_FILE:vellix_panel_guest_init>"
  VELLIX_QEMU_IMAGE_SCRIPT="${CMAKE_SOURCE_DIR}/scripts/qemu-image.sh"
  VELLIX_QEMU_BOOT_SCRIPT="${CMAKE_SOURCE_DIR}/scripts/qemu-boot.sh")
add_dependencies(vellix_qemu_guest vellix-term vellix_panel_guest_init)
