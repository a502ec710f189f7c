# Doxygen input filter for the headers, keeping every line where it was: the comment block that
# opens a file describes the file (its "#pragma once" line becomes the @file command), and a //
# comment on a line of its own, not one after code, documents the declaration below it.
# Other files (the guides) pass unchanged.
FILENAME !~ /\.h$/ { print; next }
FNR == 1 { opening = 1 }
opening && /^\/\/( |$)/ { sub(/^\/\//, "///"); print literal($0); next }
opening && /^#pragma once/ { opening = 0; print "/// @file"; next }
{ opening = 0 }
/^[ \t]*\/\/( |$)/ { sub(/\/\//, "///"); print literal($0); next }
{ print }

# Comment text is prose: a backslash (registry paths) or "<" (XML examples) is not markup.
function literal(line) {
    gsub(/\\/, "\\\\\\\\", line)
    gsub(/</, "\\<", line)
    return line
}
