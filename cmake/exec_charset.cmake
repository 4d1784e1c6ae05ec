# Texts in the sources are UTF-8; the program speaks Windows-1252 to the ANSI API. The
# path that __FILE__ puts into strings (the tests' assertions) is cut to the part inside
# the source or build folder: their own names may hold letters that Windows-1252 lacks,
# which the compiler cannot turn into its bytes.
add_compile_options(
  $<$<COMPILE_LANGUAGE:CXX,C>:-fexec-charset=CP1252>
  "$<$<COMPILE_LANGUAGE:CXX,C>:-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:CXX,C>:-fmacro-prefix-map=${CMAKE_BINARY_DIR}/=>"
)
