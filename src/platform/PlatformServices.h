#pragma once

namespace tiradex {

class Clipboard;
class Dialogs;
class DiskSpace;
class SoundSystem;
class SpeechSynthesizer;

// The platform services that windows use, built once by the program's main
// function (tests build theirs from fakes). A service that is null is not
// available: the controls that need it do nothing.
struct PlatformServices
{
    Dialogs *dialogs = nullptr;
    SoundSystem *sound = nullptr;
    Clipboard *clipboard = nullptr;
    DiskSpace *diskSpace = nullptr;
    SpeechSynthesizer *speech = nullptr; // voices for replies nobody recorded
};

} // namespace tiradex
