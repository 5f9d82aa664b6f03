# Compiles the Qt Linguist sources of this folder and embeds the tables in a target as the
# resources ":/i18n/korvale_LANG.qm". lupdate is deliberately not wired in: the keys are looked up
# at run time, so lupdate would find none of them and mark every hand-written entry obsolete.
set(KORVALE_TRANSLATIONS_DIR ${CMAKE_CURRENT_LIST_DIR})

function(korvale_add_translations target)
    file(GLOB ts_files CONFIGURE_DEPENDS ${KORVALE_TRANSLATIONS_DIR}/*.ts)
    set(qm_folder ${CMAKE_CURRENT_BINARY_DIR}/i18n)
    set_source_files_properties(${ts_files} PROPERTIES OUTPUT_LOCATION ${qm_folder})
    qt_add_lrelease(${target} TS_FILES ${ts_files} NO_GLOBAL_TARGET
        QM_FILES_OUTPUT_VARIABLE qm_files OPTIONS -silent)
    # Stored as they are: Qt reads an uncompressed table where it lies in the program, where a
    # compressed one was inflated with zstd into the heap at every start (docs/agent.md).
    qt_add_resources(${target} korvale_translations PREFIX /i18n BASE ${qm_folder}
        FILES ${qm_files} OPTIONS --no-compress)
endfunction()
