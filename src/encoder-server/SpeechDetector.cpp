#include "SpeechDetector.h"

namespace kelbrin {

namespace {
SpeechDetectorFactory& Factory() {
    static SpeechDetectorFactory factory;
    return factory;
}
} // namespace

void SetSpeechDetectorFactory(SpeechDetectorFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<SpeechDetector> CreateSpeechDetector() {
    return Factory() ? Factory()() : nullptr;
}

} // namespace kelbrin
