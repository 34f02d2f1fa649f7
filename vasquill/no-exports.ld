/* GNU ld gives every library an export directory, even an empty one. The resource library exports
   nothing, so its directory is dropped and the loader sees a library without exports.

   Nothing in the library throws, the unwinder is not linked, and the library's own start-up
   registers no unwinding table: the tables that runtime members bring with them are dropped. */
SECTIONS
{
  /DISCARD/ : { *(.edata) *(.eh_frame) }
}
INSERT AFTER .text;
