# folian_library(NAME SOURCES... [DEPS ...] [PCH])
# A static library of one folder: core (no widgets) or widgets.
function(folian_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE folian_warnings)
  target_precompile_headers(${name} PRIVATE
    <QString> <QStringList> <QVariant> <QVector> <QHash> <QDate> <QDateTime>)
endfunction()
