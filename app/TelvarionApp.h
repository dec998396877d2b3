// The application object: start-up in its fixed order, and shutdown.
#pragma once
#include "framework/Application.h"

class CTelvarionApp : public CApplication {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
};

// The single-instance mutexes: the last one created, and a second handle to the program-wide
// one when this process is the first instance. Released at exit, closed by the process's end.
extern HANDLE hInstanceMutex;
extern HANDLE hProgramMutex;
