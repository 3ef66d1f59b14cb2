#!/bin/sh
# Fails on an include that reaches up a layer, in the tree below the given
# folder (the source root). Headers are included by bare name, so each name is
# traced to the layer whose folder holds that header; a name held twice, or a
# source folder the table below leaves out, fails too, as neither can be traced.
cd "$1" || exit 2
find OrvelCore Platform Orvel OrvelWidgets WidgetHost \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | LC_ALL=C sort | awk '
function folder(path) {
    sub(/\/[^\/]*$/, "", path)
    return path
}
BEGIN {
    # Each source folder and its layer. A new folder has to be placed here,
    # or its includes would go unchecked.
    split("OrvelCore Platform OrvelWidgets WidgetHost Orvel/App Orvel/Engine Orvel/Kit", own, " ")
    for (i in own)
        layer[own[i]] = own[i]
    layer["Orvel/Shared/Store"] = layer["Orvel/Shared/Design"] = "Orvel/Shared"
    split("Controls Surfaces Panels Dashboard Settings Setup", views_below, " ")
    for (i in views_below)
        layer["Orvel/" views_below[i]] = "Orvel/" views_below[i]

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
    for (i in views_below)
        above["Orvel/" views_below[i]] = app
    above[app] = ""
}
{
    files[++count] = $0
    if ($0 ~ /\.h$/) {
        n = split($0, part, "/")
        if (part[n] in path) {
            twin[$0] = path[part[n]]
        } else {
            path[part[n]] = $0
            home[part[n]] = layer[folder($0)]
        }
    }
}
END {
    for (i = 1; i <= count; i++) {
        file = files[i]
        n = split(file, part, "/")
        if (file in twin) {
            printf "%s: %s is also the name of %s\n", file, part[n], twin[file]
            bad = 1
        }
        if (!(folder(file) in layer)) {
            printf "%s: %s is a folder the layer rule does not know\n", file, folder(file)
            bad = 1
            continue
        }
        from = layer[folder(file)]
        line = 0
        while ((getline text < file) > 0) {
            line++
            if (text !~ /^[ \t]*#[ \t]*include[ \t]*[<"]/)
                continue
            name = text
            sub(/^[^<"]*[<"]/, "", name)
            sub(/[>"].*$/, "", name)
            # A path (<../App/AppRoot.h>, "App/AppRoot.h") is traced by its
            # last name too; a system header (<sys/stat.h>) names none of ours.
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
