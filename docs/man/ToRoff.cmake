# Makes one manual page: scdoc turns the source into roff; preconv writes its accented letters
# as roff escapes, and non-breaking spaces become roff's own unbreakable space, which older
# groff fonts lack as a character, so any roff reader takes the page without a warning;
# gzip -9n packs it as manual pages are installed.
# cmake -DSCDOC=... -DPRECONV=... -DGZIP=... -DSOURCE=page.1.scd -DPAGE=page.1 -P ToRoff.cmake
execute_process(COMMAND ${SCDOC} COMMAND ${PRECONV} -e utf-8
                INPUT_FILE ${SOURCE} OUTPUT_VARIABLE roff COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "\\[u00A0]" "\\~" roff "${roff}")
file(WRITE ${PAGE} "${roff}")
execute_process(COMMAND ${GZIP} -9n INPUT_FILE ${PAGE} OUTPUT_FILE ${PAGE}.gz
                COMMAND_ERROR_IS_FATAL ANY)
