#pragma once
// The save engine: writes the ticked tracks as MPEG files made of whole frames
// copied byte for byte from their sources, one file per track or all joined in
// one, each followed by an ID3v1 block, then the CUE sheet and the playlist
// when asked for. Nothing is decoded or encoded.
//
// Every output is written to a temporary file and renamed over its target
// only when complete, so a failure or a cancel never leaves a partial file and
// never destroys the old one. The run works on the copy of the tracks in the
// request; the open source files may be scanned again to complete their index.

#include "SaveRequest.h"

namespace kelbrin {

class SaveHost;

SaveOutcome SavePieces(const SaveRequest& request, SaveHost& host);

// The same run without a window: batch scripts.
SaveOutcome RunExport(const SaveRequest& request);

} // namespace kelbrin
