// Down into the platform is allowed, up into the app is not.
#include "Clock.h"
#include "ConsentBox.h"
#include <QObject>
#include <../App/ConsentBox.h>
#include <sys/stat.h>
