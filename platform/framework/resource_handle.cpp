#include "platform/framework/resource_handle.h"

namespace {

HINSTANCE& CurrentResourceHandle() {
    static HINSTANCE handle = nullptr;
    return handle;
}

}  // namespace

HINSTANCE AfxGetResourceHandle() {
    return CurrentResourceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    CurrentResourceHandle() = hInstResource;
}
