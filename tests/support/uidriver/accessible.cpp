#include "accessible.h"

#include <oleacc.h>

#include "winutil.h"

namespace uid {

namespace {

// Owns a BSTR an accessible object handed over.
class Bstr {
public:
    ~Bstr() { SysFreeString(b_); }
    BSTR* out() { return &b_; }
    std::string text() const { return b_ ? narrow(std::wstring(b_, SysStringLen(b_))) : ""; }

private:
    BSTR b_ = nullptr;
};

std::vector<std::string> read_control(HWND control) {
    IAccessible* acc = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&acc));
    if (FAILED(hr) || !acc) throw CommandError("no accessible object for " + hex_hwnd(control) + ": " + hex32(hr));
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Bstr name, shortcut;
    acc->get_accName(self, name.out());
    acc->get_accKeyboardShortcut(self, shortcut.out());
    acc->Release();
    return {hex_hwnd(control), dec(control_id(control)), class_name(control), name.text(), shortcut.text()};
}

}  // namespace

Reply cmd_accessible(HWND hwnd) {
    require_window(hwnd);
    CoInitialize(nullptr);  // once per thread; later calls find it done
    Reply r;
    r.is_list = true;
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) r.rows.push_back(read_control(c));
    return r;
}

}  // namespace uid
