#include "cPozycjePlikow.h"
