// The program's version: the version resource spells it twice, tools/dist
// names the release's zip files after the text.
#define POKOPON_VERSION 0, 9, 2, 0
#define POKOPON_VERSION_TEXT "0.9.2"
