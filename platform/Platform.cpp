#include "platform/Platform.h"

namespace {
const PlatformCalls kReal = {
    &Shell_NotifyIconW,
    &ShellExecuteW,
    &MessageBoxW,
    &OutputDebugStringW,
    &GetSystemDefaultLangID,
};
PlatformCalls g_calls = kReal;
}

PlatformCalls& Platform() { return g_calls; }

const PlatformCalls& RealPlatform() { return kReal; }
