# The Win32 editor and its Windows tests (MinGW-w64 i686, run under Wine).
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res -I${CMAKE_SOURCE_DIR}")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
configure_file(ui/web_addresses.h.in ${CMAKE_BINARY_DIR}/generated/ui/web_addresses.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
# Win32 structures are zero-filled by `{sizeof(x)}`, the idiomatic way.
add_compile_options(-Wno-missing-field-initializers)

include(${CMAKE_CURRENT_LIST_DIR}/delay_imports.cmake)

# The bridge's Win32 side: the game client, Winsock, code page 936, the servers file.
add_library(bridge_win STATIC
  bridge/game_window.cpp
  bridge/win32_game_platform.cpp
  bridge/win32_rcon_platform.cpp
  bridge/win32_rcon_transport.cpp
)
target_link_libraries(bridge_win PUBLIC bridge_core user32 delay_ws2_32 delay_crypt32 ws2_32 crypt32 shell32)

add_library(editor_win STATIC
  ui/application.cpp
  ui/control_events.cpp
  ui/delivery_handler.cpp
  ui/editor_window.cpp
  ui/event_wiring.cpp
  ui/file_access.cpp
  ui/file_dialogs.cpp
  ui/font_cache.cpp
  ui/form_controls.cpp
  ui/form_file_data.cpp
  ui/help_and_music.cpp
  ui/information_box.cpp
  ui/input_modes.cpp
  ui/input_rules.cpp
  ui/item_editor.cpp
  ui/item_files.cpp
  ui/keyboard_navigation.cpp
  ui/item_preview.cpp
  ui/preview_canvas.cpp
  ui/main_menu.cpp
  ui/output_box.cpp
  ui/output_editor.cpp
  ui/power_editor.cpp
  ui/run_result_view.cpp
  ui/server_commands.cpp
  ui/server_delivery.cpp
  ui/servers_dialog.cpp
  ui/startup_trace.cpp
  ui/static_controls.cpp
  ui/tool_window.cpp
  ui/user_settings.cpp
  ui/web_view.cpp
)
target_link_libraries(editor_win PUBLIC editor_core output_core bridge_core bridge_win comctl32 delay_comdlg32 comdlg32 gdiplus
  shell32 shlwapi ole32 oleaut32 uuid gdi32 user32 delay_ws2_32 delay_crypt32 ws2_32 crypt32)

# The skin engine: owner-drawn frame, surface and caption of skinned windows.
add_library(skin_win STATIC
  skin/button_painters.cpp
  skin/buttons.cpp
  skin/caption_buttons.cpp
  skin/combo_boxes.cpp
  skin/containers.cpp
  skin/control_borders.cpp
  skin/control_fonts.cpp
  skin/control_kinds.cpp
  skin/edit_boxes.cpp
  skin/frame_window.cpp
  skin/framed_controls.cpp
  skin/headers.cpp
  skin/other_controls.cpp
  skin/backdrop_cache.cpp
  skin/painting_kit.cpp
  skin/picture_buttons.cpp
  skin/skin_engine.cpp
  skin/subclass.cpp
  skin/surface.cpp
  skin/title_bar.cpp
  skin/tooltip.cpp
  skin/track_bars.cpp
  skin/up_downs.cpp
  skin/window_registry.cpp
  skin/working_set_trimmer.cpp
)
target_link_libraries(skin_win PUBLIC skin_core comctl32 gdiplus shlwapi ole32 uuid gdi32 user32)
target_sources(editor_win PRIVATE ui/main_window_skin.cpp)
target_link_libraries(editor_win PUBLIC skin_win)

# The manifest and the pictures are read by windres, not #included: list them.
file(GLOB RPGITEM_RESOURCE_FILES ${CMAKE_SOURCE_DIR}/res/*.png ${CMAKE_SOURCE_DIR}/res/*.jpg
     ${CMAKE_SOURCE_DIR}/res/*.ico ${CMAKE_SOURCE_DIR}/res/*.manifest ${CMAKE_SOURCE_DIR}/res/*.bin)
set_source_files_properties(res/resources.rc PROPERTIES OBJECT_DEPENDS "${RPGITEM_RESOURCE_FILES}")

# The command-line tool (console program) on the same bridge and item files.
target_sources(rpgitem PRIVATE tools/rpgitem/platform_win32.cpp ui/file_access.cpp)
target_link_libraries(rpgitem PRIVATE bridge_win shlwapi)

add_executable(rpgitem-editor WIN32 ui/main.cpp res/resources.rc)
target_link_libraries(rpgitem-editor PRIVATE editor_win)
target_link_options(rpgitem-editor PRIVATE -municode)

# In-process tests of the real window, with the program's resources.
add_executable(window_tests
  tests/win32/test_main.cpp
  tests/win32/window_fixture.cpp
  tests/win32/layout_window_test.cpp
  tests/win32/compose_window_test.cpp
  tests/win32/modal_watch.cpp
  tests/win32/power_window_test.cpp
  tests/win32/history_window_test.cpp
  tests/win32/keyboard_window_test.cpp
  tests/win32/output_write_test.cpp
  tests/win32/help_window_test.cpp
  tests/win32/resource_test.cpp
  tests/win32/music_reload_test.cpp
  tests/win32/item_file_fixture.cpp
  tests/win32/item_file_window_test.cpp
  tests/win32/item_file_question_test.cpp
  tests/win32/item_preview_test.cpp
  tests/win32/screenshot.cpp
  res/resources.rc
)
target_link_libraries(window_tests PRIVATE editor_win GTest::gtest version)
# The resource tests read the built program.
add_dependencies(window_tests rpgitem-editor)
add_test(NAME window_tests COMMAND window_tests)
# The same tests on a Chinese system code page: nothing may depend on it.
add_test(NAME window_tests_cp936 COMMAND window_tests)
set_tests_properties(window_tests PROPERTIES ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8;RPGITEM_EXPECT_ACP=1252")
set_tests_properties(window_tests_cp936 PROPERTIES ENVIRONMENT "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;RPGITEM_EXPECT_ACP=936")

add_executable(ui_bench bench/ui_bench.cpp res/resources.rc)
target_link_libraries(ui_bench PRIVATE editor_win psapi)

# The skin on test windows and on the main window.
add_executable(skin_tests
  tests/win32/test_main.cpp
  tests/win32/window_fixture.cpp
  tests/win32/skin_window_test.cpp
  tests/win32/skin_main_window_test.cpp
  tests/win32/startup_paint_test.cpp
  tests/win32/skin_screenshot_test.cpp
  tests/win32/main_window_look_test.cpp
  tests/win32/modal_watch.cpp
  tests/win32/screenshot.cpp
  tests/win32/skin_buttons_test.cpp
  tests/win32/skin_containers_test.cpp
  tests/win32/gallery_window.cpp
  tests/win32/skin_common_controls_test.cpp
  tests/win32/skin_edit_combo_test.cpp
  tests/win32/skin_list_test.cpp
  tests/win32/skin_text_colour_test.cpp
  tests/win32/skin_text_effects_test.cpp
  tests/win32/skin_tooltip_test.cpp
  tests/win32/skin_backdrop_tint_test.cpp
  res/resources.rc
)
target_link_libraries(skin_tests PRIVATE editor_win GTest::gtest)
# The 10,000-round leak tests take minutes under Wine: a test of their own,
# with a time limit of their own.
set(SKIN_LEAK_TESTS "GalleryTest.NoObjectLeaks*:SkinWindowTest.LiveObjects*")
add_test(NAME skin_tests COMMAND skin_tests --gtest_filter=-${SKIN_LEAK_TESTS})
add_test(NAME skin_leak_tests COMMAND skin_tests --gtest_filter=${SKIN_LEAK_TESTS})
set_tests_properties(skin_leak_tests PROPERTIES TIMEOUT 2400)

add_executable(skin_bench bench/skin_bench.cpp tests/win32/gallery_window.cpp
  res/resources.rc)
target_link_libraries(skin_bench PRIVATE editor_win)

# The client bridge in the real program: lookup, typing, waits, the deliver
# button (in-process, under both system code pages).
add_executable(bridge_tests
  tests/win32/test_main.cpp
  tests/win32/window_fixture.cpp
  tests/win32/bridge_window_test.cpp
  tests/win32/server_window_test.cpp
  tests/win32/tool_window_test.cpp
  tests/win32/modal_watch.cpp
  tests/win32/screenshot.cpp
  res/resources.rc
)
target_link_libraries(bridge_tests PRIVATE editor_win GTest::gtest)
add_test(NAME bridge_tests COMMAND bridge_tests)
add_test(NAME bridge_tests_cp936 COMMAND bridge_tests)
set_tests_properties(bridge_tests PROPERTIES ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8;RPGITEM_EXPECT_ACP=1252")
set_tests_properties(bridge_tests_cp936 PROPERTIES ENVIRONMENT "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;RPGITEM_EXPECT_ACP=936")

# A stand-in game client for the end-to-end tests: it must be named javaw.exe.
add_executable(fake_javaw tests/e2e/fake_javaw.cpp)
set_target_properties(fake_javaw PROPERTIES OUTPUT_NAME javaw)
target_link_options(fake_javaw PRIVATE -municode)
target_link_libraries(fake_javaw PRIVATE user32)

# The real editor and the stand-in client as separate processes, on a
# Chinese system code page as the program's users have it.
add_library(e2e_support STATIC tests/e2e/e2e_support.cpp)
target_link_libraries(e2e_support PUBLIC editor_win GTest::gtest)
add_executable(delivery_e2e_tests tests/e2e/delivery_e2e_test.cpp)
target_link_libraries(delivery_e2e_tests PRIVATE e2e_support)
add_dependencies(delivery_e2e_tests rpgitem-editor fake_javaw)
add_test(NAME delivery_e2e COMMAND delivery_e2e_tests)
set_tests_properties(delivery_e2e PROPERTIES ENVIRONMENT "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8" TIMEOUT 240)

# `rpgitem-editor.exe FILE` as its own process: the file opens, closing keeps it.
add_executable(command_line_e2e_tests tests/e2e/command_line_e2e_test.cpp)
target_link_libraries(command_line_e2e_tests PRIVATE e2e_support GTest::gtest_main)
add_dependencies(command_line_e2e_tests rpgitem-editor)
add_test(NAME command_line_e2e COMMAND command_line_e2e_tests)
set_tests_properties(command_line_e2e PROPERTIES TIMEOUT 120)

# rpgitem.exe as its own console process.
add_executable(rpgitem_exe_e2e_tests tests/e2e/rpgitem_exe_e2e_test.cpp tests/cli/generated_forms.cpp)
target_link_libraries(rpgitem_exe_e2e_tests PRIVATE editor_core GTest::gtest_main)
add_dependencies(rpgitem_exe_e2e_tests rpgitem)
add_test(NAME rpgitem_exe_e2e COMMAND rpgitem_exe_e2e_tests)
set_tests_properties(rpgitem_exe_e2e PROPERTIES ENVIRONMENT "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8" TIMEOUT 120)

# How long the delivery's waits really last under Wine.
add_executable(pause_bench bench/pause_bench.cpp)
target_link_libraries(pause_bench PRIVATE editor_win)

# Start-up against a bare window program, each launched as a process.
# The references trace their stages as the editor does (ui/startup_trace.cpp).
add_executable(bare_window WIN32 bench/bare_window.cpp ui/startup_trace.cpp)
target_include_directories(bare_window PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(bare_window PRIVATE -municode)
add_executable(bare_controls WIN32 bench/bare_window.cpp ui/startup_trace.cpp)
target_compile_definitions(bare_controls PRIVATE RPGITEM_BARE_CONTROLS)
target_link_libraries(bare_controls PRIVATE editor_core)
target_link_options(bare_controls PRIVATE -municode)
add_executable(startup_bench bench/startup_bench.cpp)
target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(startup_bench PRIVATE -municode)
add_dependencies(startup_bench rpgitem-editor bare_window bare_controls)

# The real editor sending to fake RCON servers: the native build's Linux
# program, which the test starts through Wine.
set(RPGITEM_FAKE_RCON_SERVER ${CMAKE_SOURCE_DIR}/build/native/fake_rcon_server
    CACHE FILEPATH "The fake RCON server of the native build")
add_executable(server_e2e_tests tests/e2e/server_e2e_test.cpp)
target_link_libraries(server_e2e_tests PRIVATE e2e_support)
add_dependencies(server_e2e_tests rpgitem-editor)
add_test(NAME server_e2e COMMAND server_e2e_tests)
set_tests_properties(server_e2e PROPERTIES TIMEOUT 600
                     ENVIRONMENT "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8;FAKE_RCON_SERVER=${RPGITEM_FAKE_RCON_SERVER}")

# Server delivery against keyboard delivery, and 10 servers against one.
add_executable(server_bench bench/server_bench.cpp)
target_link_libraries(server_bench PRIVATE editor_win)
