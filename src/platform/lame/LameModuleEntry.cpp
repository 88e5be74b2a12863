// The entry of the kelbrin-lame module (LameModule.h).
#include "LameModule.h"
#include "Mp3LameLibrary.h"

#include <QtGlobal>
#include <type_traits>

extern "C" Q_DECL_EXPORT kelbrin::LameLibrary* KelbrinCreateLameLibrary() {
    static_assert(std::is_same_v<decltype(&KelbrinCreateLameLibrary), kelbrin::CreateLameLibraryFunction>);
    return new kelbrin::Mp3LameLibrary;
}
