# Writes a C++ source file that holds the bytes of a file as an array:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=kName -P embed_file.cmake
# defines quorvel::embedded::kName (the bytes) and kNameSize (their count).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes to a line.
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
  "// Generated at build time from resources/${name}; do not edit.\n"
  "namespace quorvel::embedded {\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const int ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\n"
  "const int ${SYMBOL}Size = ${size};\n"
  "}  // namespace quorvel::embedded\n")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
