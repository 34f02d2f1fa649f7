/* GNU ld gives every library an export directory, even an empty one. The resource library exports
   nothing, so its directory is dropped and the loader sees a library without exports.

   Nothing in the library throws, and the unwinder is not linked: the unwinding tables that the
   runtime's start-up objects bring are dropped too. The start and end markers of the table stay,
   so that a host whose own unwinder picks up the library's table finds it empty, not missing. */
SECTIONS
{
  /DISCARD/ : { *(.edata) *(EXCLUDE_FILE(*crtbegin.o *crtend.o) .eh_frame) }
}
INSERT AFTER .text;
