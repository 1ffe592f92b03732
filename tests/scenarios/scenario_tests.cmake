# Every scenario under tests/scenarios/ as one test each, run by the panelhost at `panelhost`:
# `panelhost run FILE` must exit 0, and each failing scenario must fail as its header says
# (`# exit: N`, `# output: LINE`). The native build runs them against radios.so, the i686 build
# against the shipped radios.gau in the emulator; `prefix` names the tests apart. Options after
# the panelhost (`--fpu 64 --answers float`) go to every run: the host conditions it runs under.
function(add_scenario_tests prefix panelhost)
  set(options ${ARGN})
  set(folder ${CMAKE_SOURCE_DIR}/tests/scenarios)
  file(GLOB scenarios CONFIGURE_DEPENDS ${folder}/*.scn)
  foreach(scenario ${scenarios})
    get_filename_component(name ${scenario} NAME_WE)
    add_test(NAME ${prefix}.${name} COMMAND ${panelhost} run ${scenario} ${options})
    list(APPEND names ${prefix}.${name})
  endforeach()
  file(GLOB failing CONFIGURE_DEPENDS ${folder}/failing/*.scn)
  foreach(scenario ${failing})
    get_filename_component(name ${scenario} NAME_WE)
    add_test(NAME ${prefix}-failing.${name}
             COMMAND ${folder}/check_failing_scenario.sh ${panelhost} ${scenario} ${options})
    list(APPEND names ${prefix}-failing.${name})
  endforeach()
  set(${prefix}_TESTS ${names} PARENT_SCOPE)
endfunction()
