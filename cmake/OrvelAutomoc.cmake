# Runs moc again when a folder's list of sources changes: CMake's Ninja depfile
# for moc does not know about Q_OBJECT headers added since the last run, which
# otherwise ends in missing signal symbols after a merge.
function(orvel_rescan_moc_on_new_sources target sources)
    string(MD5 hash "${sources}")
    set(cache_key "ORVEL_SOURCES_HASH_${target}")
    if(NOT hash STREQUAL "${${cache_key}}")
        file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
        set(${cache_key} ${hash} CACHE INTERNAL "")
    endif()
endfunction()
