# Writes FOLDER/SHA256SUMS for the FILES (paths relative to FOLDER), in the form `sha256sum -c`
# reads from inside FOLDER.
set(sums "")
foreach(file ${FILES})
  file(SHA256 ${FOLDER}/${file} sum)
  string(APPEND sums "${sum}  ${file}\n")
endforeach()
file(WRITE ${FOLDER}/SHA256SUMS "${sums}")
