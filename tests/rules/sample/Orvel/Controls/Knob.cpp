// Controls draw with the kit; angle brackets reach the app all the same.
#include <Ground.h>
#include <ConsentBox.h>
#include <vector>
