// The entry of the codec module: the program loads this module (and with it
// libavcodec) only when something first asks for the recording codecs.
#include "AvCodecLibrary.h"
#include "CodecModule.h"

extern "C" Q_DECL_EXPORT kelbrin::CodecLibrary* KelbrinCreateCodecLibrary() {
    return new kelbrin::AvCodecLibrary();
}
