// Breaks the layer table on purpose: the check must name both lines.
#include "Helper.h"
#include <QString>
#include <fstream>
