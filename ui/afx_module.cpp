#include "afx_module.h"

namespace {

HINSTANCE resourceModule = nullptr;

}  // namespace

HINSTANCE AfxGetResourceHandle() {
    return resourceModule != nullptr ? resourceModule : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module) {
    resourceModule = module;
}
