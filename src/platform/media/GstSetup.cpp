#include "GstSetup.h"

#include <gst/gst.h>

namespace kelbrin {

namespace {
constexpr const char* kPinnedMpegDecoder = "mpg123audiodec";
}

bool EnsureGstreamer() {
    static const bool ready = [] {
        if (!gst_init_check(nullptr, nullptr, nullptr))
            return false;
        if (GstPluginFeature* decoder =
                gst_registry_find_feature(gst_registry_get(), kPinnedMpegDecoder, GST_TYPE_ELEMENT_FACTORY)) {
            gst_plugin_feature_set_rank(decoder, GST_RANK_PRIMARY + 100);
            gst_object_unref(decoder);
        }
        return true;
    }();
    return ready;
}

} // namespace kelbrin
