#pragma once

class QString;

namespace tiradex {

class MediaDevice;
class Module1;

// Opens the unpacked take, AppFolder + "temp.wav", on `device`: sets, in
// this order, notification off, wait on, shareable off, device type
// "WaveAudio" and the file name, then sends "Open". Returns whether the
// device opened the take (device.errorString() says why not); a device that
// did not open sends no status updates.
bool OpenWaveDevice(MediaDevice &device, const Module1 &state);

// Opens `file` on `device` as the recorder does: closes the device, then
// sets notification off, wait on, shareable off, time format milliseconds,
// device type "WaveAudio" and the file name, and sends "Open". A missing
// file gives an empty take to record into.
bool OpenWaveFile(MediaDevice &device, const QString &file);

} // namespace tiradex
