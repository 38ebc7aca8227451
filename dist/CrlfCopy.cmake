# cmake -DSOURCE=... -DDEST=... -P CrlfCopy.cmake: copies a text file with
# CR LF line ends, as Windows' own editors expect.
file(READ ${SOURCE} text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${DEST} "${text}")
