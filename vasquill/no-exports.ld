/* GNU ld gives every library an export directory, even an empty one. The resource library exports
   nothing, so its directory is dropped and the loader sees a library without exports. */
SECTIONS
{
  /DISCARD/ : { *(.edata) }
}
INSERT AFTER .text;
