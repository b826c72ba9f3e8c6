# The workbench's tests: its Qt tests on the offscreen platform, and the real
# window under Xvfb (slow; not under ThreadSanitizer, whose reports Qt's own
# uninstrumented libraries would raise).
trelvik_test_folder(workbench trelvik_workbench Qt6::Test)
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize=thread")
  add_test(NAME XvfbSmokeSlow.Workbench
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb_smoke.sh $<TARGET_FILE:trelvik-workbench>)
  set_tests_properties(XvfbSmokeSlow.Workbench PROPERTIES LABELS slow TIMEOUT 120)
endif()
