// What the skinned controls' program shares beyond its environment (skin_controls_support.cpp).
#pragma once

#include "skin/core/sSkinLinks.h"

namespace skincontrols {

// Takes the form-skinning layer's links away for as long as it lives and gives them back after: the
// fixtures of the skin core's own control behaviour (the skin state, the tab strip, the window adapters
// a manager chooses) hold one, so they see the core as it is without that layer.
class WithoutFormsLayer {
public:
    WithoutFormsLayer();
    ~WithoutFormsLayer();
    WithoutFormsLayer(const WithoutFormsLayer&) = delete;
    WithoutFormsLayer& operator=(const WithoutFormsLayer&) = delete;

private:
    TacSkinLinks saved_;
};

} // namespace skincontrols
