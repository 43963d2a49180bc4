#include "support/message_count.h"

namespace {

MessageCount* current;

}  // namespace

MessageCount::MessageCount(HWND window, UINT message) : window_(window), message_(message)
{
    current = this;
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

MessageCount::~MessageCount()
{
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    current = nullptr;
}

LRESULT CALLBACK MessageCount::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    current->count_ += message == current->message_;
    return CallWindowProcA(current->previous_, window, message, wParam, lParam);
}
