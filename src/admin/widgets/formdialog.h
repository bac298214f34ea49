#pragma once
// The modal sheet base moved to the data widgets, where every module's
// sheets find it.

#include "data/widgets/formdialog.h"
