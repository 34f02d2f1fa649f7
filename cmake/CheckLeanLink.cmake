# Fails a link that took a runtime member the lean runtime keeps out (see QuarnelLeanRuntime.cmake).
# Run as: cmake -DMAP=<linker map> -DOUTPUT=<linked file> -P CheckLeanLink.cmake
#
# Each member is named with what it would bring in. The linked file is removed on failure, so that
# the next build links again instead of taking the rejected file as up to date.
set(unwanted
    "libgcc_eh.a(unwind-dw2.o)=the DWARF unwinder"
    "libgcc_eh.a(unwind-dw2-fde.o)=the unwinder's frame tables (frame registration)"
    "libgcc_eh.a(unwind-seh.o)=the SEH unwinder"
    "libgcc_eh.a(unwind-sjlj.o)=the setjmp/longjmp unwinder"
    "libstdc++.a(eh_personality.o)=the C++ personality routine (unwinding through C++ frames)"
    "libstdc++.a(eh_throw.o)=throwing (std::__throw_* helpers not replaced)"
    "libstdc++.a(functexcept.o)=the runtime's throw helpers and exception classes"
    "libstdc++.a(new_op.o)=the runtime's operator new, which throws std::bad_alloc"
    "libstdc++.a(new_opnt.o)=the runtime's nothrow operator new, which catches std::bad_alloc"
    "libstdc++.a(guard.o)=the locks around local statics, which throw and so bring the unwinder"
    "libstdc++.a(vterminate.o)=the verbose terminate handler"
    "libstdc++.a(cp-demangle.o)=the name demangler"
    "libstdc++.a(string-inst.o)=the runtime's std::string instance (built with exceptions)"
    "libstdc++.a(cow-string-inst.o)=the runtime's copy-on-write std::string instance")

file(STRINGS ${MAP} lines REGEX "^[^ ].*\\.a\\([^)]*\\.o\\)")
set(found)
foreach(entry IN LISTS unwanted)
  string(REGEX MATCH "^[^=]*" member "${entry}")
  string(REGEX REPLACE "^[^=]*=" "" meaning "${entry}")
  foreach(line IN LISTS lines)
    string(FIND "${line}" "${member}" at)
    if(NOT at EQUAL -1)
      list(APPEND found "  ${member}: ${meaning}")
      break()
    endif()
  endforeach()
endforeach()
if(found)
  file(REMOVE ${OUTPUT})
  list(JOIN found "\n" found)
  message(FATAL_ERROR "${OUTPUT}: the link took runtime members the lean runtime keeps out:\n"
                      "${found}\n(see lean-runtime/README.md; the map is ${MAP})")
endif()
