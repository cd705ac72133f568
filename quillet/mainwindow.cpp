#include "quillet/mainwindow.h"
