# Reading binary data that a script holds as a string of hex digits (file(READ ... HEX)).

# The unsigned little-endian value of the BYTES bytes at byte OFFSET of the hex string in the
# variable named HEX_NAME, in decimal.
function(le_value hex_name offset bytes out)
  set(value 0)
  foreach(i RANGE 1 ${bytes})
    math(EXPR digit "(${offset} + ${bytes} - ${i}) * 2")
    string(SUBSTRING "${${hex_name}}" ${digit} 2 byte)
    math(EXPR value "(${value} << 8) + 0x${byte}")
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()
