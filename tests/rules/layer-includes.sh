#!/bin/sh
# Fails on an include that reaches up a layer, in the tree below the given
# folder (the source root). Headers are included by bare name, so each name is
# traced to the layer whose folder holds that header; names must stay unique.
cd "$1" || exit 2
find OrvelCore Platform Orvel OrvelWidgets WidgetHost \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort | awk '
function layer(path,   part) {
    split(path, part, "/")
    if (part[1] != "Orvel") return part[1]
    return part[2] == "Shared" ? "Orvel/Shared" : "Orvel/" part[2]
}
{
    files[++count] = $0
    if ($0 ~ /\.h$/) {
        n = split($0, part, "/")
        home[part[n]] = layer($0)
    }
}
END {
    app = "Orvel/App"
    views = "Orvel/Kit Orvel/Controls Orvel/Surfaces Orvel/Panels Orvel/Dashboard Orvel/Settings Orvel/Setup"
    above["OrvelCore"] = "Platform Orvel/Shared Orvel/Engine " app " " views " OrvelWidgets WidgetHost"
    above["Platform"] = "Orvel/Shared Orvel/Engine " app " " views " OrvelWidgets WidgetHost"
    above["Orvel/Shared"] = "Orvel/Engine " app " " views " OrvelWidgets WidgetHost"
    above["WidgetHost"] = "Orvel/Engine " app " " views " OrvelWidgets"
    above["OrvelWidgets"] = "Orvel/Engine " app " " views
    # The engine knows no view and no window.
    above["Orvel/Engine"] = app " " views
    above["Orvel/Kit"] = app " Orvel/Controls Orvel/Surfaces Orvel/Panels Orvel/Dashboard Orvel/Settings Orvel/Setup"
    split("Controls Surfaces Panels Dashboard Settings Setup", views_below, " ")
    for (i in views_below)
        above["Orvel/" views_below[i]] = app
    for (i = 1; i <= count; i++) {
        file = files[i]
        from = layer(file)
        if (!(from in above))
            continue
        line = 0
        while ((getline text < file) > 0) {
            line++
            if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/)
                continue
            name = text
            sub(/^[^"]*"/, "", name)
            sub(/".*$/, "", name)
            n = split(name, part, "/")
            to = home[part[n]]
            if (to != "" && index(" " above[from] " ", " " to " ")) {
                printf "%s:%d: %s includes %s from %s\n", file, line, from, name, to
                bad = 1
            }
        }
        close(file)
    }
    exit bad
}'
