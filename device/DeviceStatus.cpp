#include "device/DeviceStatus.h"

StatusPresentation PresentStatus(bool skypeOnline, bool devicePresent, bool offHook) {
    if (skypeOnline) {
        if (!devicePresent) return {L"SKYPEOK_NODEVICE.ico", L"NeedDevice"};
        return {offHook ? L"SKYPEOK_OFFHOOK.ico" : L"SKYPEOK_IDLE.ico", L"Online"};
    }
    if (!devicePresent) return {L"NOSKYPE_NODEVICE.ico", L"NeedDevice"};
    return {offHook ? L"NOSKYPE_OFFHOOK.ico" : L"NOSKYPE_IDLE.ico", L"NeedSkype"};
}
