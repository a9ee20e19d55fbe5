#pragma once

class MediaDevice;
class Module1;

// Opens the unpacked take, AppFolder + "temp.wav", on `device`: sets, in
// this order, notification off, wait on, shareable off, device type
// "WaveAudio" and the file name, then sends "Open". Returns whether the
// device opened the take (device.errorString() says why not); a device that
// did not open sends no status updates.
bool OpenWaveDevice(MediaDevice &device, const Module1 &state);
