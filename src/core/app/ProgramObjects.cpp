#include "ProgramObjects.h"

#include "core/document/cPozycjePlikow.h"
#include "core/recording/RecorderClient.h"


namespace kelbrin {

ProgramObjectSet::ProgramObjectSet() = default;

ProgramObjectSet::~ProgramObjectSet() = default;

} // namespace kelbrin
