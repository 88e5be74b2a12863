#pragma once
// Tells the user how an in-place write of a source file ended: every failure
// with its numbered message, and the protected frames that were left alone.

#include "SourceWriteHost.h"

namespace kelbrin {

// Shows what the result calls for; a write stopped on request shows nothing.
void ReportSourceWrite(const SourceWriteResult& result, const QString& path);

} // namespace kelbrin
