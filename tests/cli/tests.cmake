# The command-line tests in unit/cli run the brenvik-cli program itself.
if(TARGET unit_cli AND TARGET brenvik-cli)
  add_dependencies(unit_cli brenvik-cli)
endif()
