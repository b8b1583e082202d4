// Records the program's message boxes instead of showing them, answering
// each with a chosen button.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct RecordedBox {
    HWND hwndOwner;
    std::wstring text;
    std::wstring caption;
    UINT uiFlags;
};

class BoxRecorder {
public:
    BoxRecorder();   // installs itself
    ~BoxRecorder();  // restores the real boxes
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
    int iAnswer = IDOK;

    size_t count_caption(const wchar_t* ptcCaption) const;
    bool any_text_contains(const wchar_t* ptcPart) const;
};

// The program's window classes, registered once for the test process.
void test_register_classes();
