# The workbench's tests: its Qt tests on the offscreen platform, and the real
# window under Xvfb (slow; not under ThreadSanitizer, whose reports Qt's own
# uninstrumented libraries would raise).
trelvik_test_folder(workbench trelvik_workbench trelvik_scenario_testsupport Qt6::Test)
if(NOT CMAKE_CXX_FLAGS MATCHES "sanitize=thread")
  add_test(NAME XvfbSmokeSlow.Workbench
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb_smoke.sh $<TARGET_FILE:trelvik-workbench>)
  set_tests_properties(XvfbSmokeSlow.Workbench PROPERTIES LABELS slow TIMEOUT 120)
endif()

# Random input to the real window under Xvfb for 60 s, in the AddressSanitizer
# build only (bench/random_input_workbench.sh runs it for 10 minutes).
if(CMAKE_CXX_FLAGS MATCHES "sanitize=address")
  add_test(NAME RandomInputSlow.Workbench
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/random_input.sh 60 $<TARGET_FILE:trelvik-workbench>)
  set_tests_properties(RandomInputSlow.Workbench PROPERTIES LABELS slow TIMEOUT 300 COST 70)
endif()
