# tagsmith_note_source_guide()
# Leaves beside the programs built in the current folder the path of the sources' user guide
# (the note ExternalTools::kSourceGuideNote names), so that Help > Index of a program run from
# its build tree opens it. Nothing installs the note: an installed copy finds the guide
# installed beside it, and no program carries a path of the machine it was built on.
function(tagsmith_note_source_guide)
    file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/tagsmith-guide.path"
         CONTENT "${PROJECT_SOURCE_DIR}/docs/guide/index.html")
endfunction()
