# Zips templates/Dovrek.xlt/ (the parts of the workbook template as XML) into Dovrek.xlt beside
# the dovrek executable. [Content_Types].xml goes first, as readers of the package expect.
set(DOVREK_TEMPLATE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/templates/Dovrek.xlt)
if(EXISTS ${DOVREK_TEMPLATE_DIR})
  file(GLOB_RECURSE DOVREK_TEMPLATE_PARTS CONFIGURE_DEPENDS ${DOVREK_TEMPLATE_DIR}/*)
  set(DOVREK_TEMPLATE_FILE $<TARGET_FILE_DIR:dovrek>/Dovrek.xlt)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/Dovrek.xlt
    COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_CURRENT_BINARY_DIR}/Dovrek.xlt
    COMMAND zip -X -q -D ${CMAKE_CURRENT_BINARY_DIR}/Dovrek.xlt "[Content_Types].xml"
    COMMAND zip -X -q -D -r ${CMAKE_CURRENT_BINARY_DIR}/Dovrek.xlt . -x "[Content_Types].xml"
    WORKING_DIRECTORY ${DOVREK_TEMPLATE_DIR}
    DEPENDS ${DOVREK_TEMPLATE_PARTS}
    COMMENT "Zipping the workbook template Dovrek.xlt")
  add_custom_target(dovrek_template ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/Dovrek.xlt)
endif()
