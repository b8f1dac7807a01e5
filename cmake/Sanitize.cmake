# -DZORVA_SANITIZE=ON: every target of the build (program, tools, tests) with AddressSanitizer
# and UndefinedBehaviorSanitizer. Any report ends the process with an error, so a test that
# provokes one fails. Works with gcc (libasan and libubsan come with it) and with clang.
option(ZORVA_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZORVA_SANITIZE)
  # -O1 -g1 (after the build type's flags, so they win): about a third less build time than
  # -O2 -g, and the reports still name file and line.
  set(ZORVA_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer -O1 -g1)
  add_compile_options(${ZORVA_SANITIZE_FLAGS})
  add_link_options(${ZORVA_SANITIZE_FLAGS})
endif()
