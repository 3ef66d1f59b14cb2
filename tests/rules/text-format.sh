#!/bin/sh
# Fails on any QML text item (Text, Label, TextEdit, TextArea) under the given
# folders that leaves its textFormat to Qt: the automatic format reads a string
# that looks like markup as rich text, loading its images and styling it.
# TextField and TextInput have no such property; they are always plain.
status=0
for folder in "$@"; do
    # A folder that moved would leave its files unchecked.
    [ -d "$folder" ] || { echo "$folder: no such folder" >&2; status=1; continue; }
    for file in $(find "$folder" -name '*.qml' | sort); do
        awk -v file="$file" '
        function report(line) { printf "%s:%d: text item without an explicit textFormat\n", file, line; bad = 1 }
        {
            code = $0
            sub(/^[ \t]*\/\/.*$/, "", code)
            sub(/[ \t]+\/\/[^"]*$/, "", code)
            opener = code ~ /(^|[ \t:])([A-Za-z_][A-Za-z0-9_]*\.)?(Text|Label|TextEdit|TextArea)[ \t]*\{/
            if (opener && code ~ /\{.*\}/) {
                # A whole item on one line.
                if (code !~ /textFormat[ \t]*:/) report(NR)
                next
            }
            if (top > 0 && depth == open[top] + 1 && code ~ /^[ \t]*textFormat[ \t]*:/) seen[top] = 1
            if (opener) { top++; open[top] = depth; seen[top] = 0; at[top] = NR }
            n = length(code)
            for (i = 1; i <= n; i++) {
                c = substr(code, i, 1)
                if (c == "{") depth++
                else if (c == "}") {
                    depth--
                    if (top > 0 && depth == open[top]) {
                        if (!seen[top]) report(at[top])
                        top--
                    }
                }
            }
        }
        END { exit bad }' "$file" || status=1
    done
done
exit $status
