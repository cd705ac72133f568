// Home of the fakes' meta-object code.
#include "phonefakes.h"
