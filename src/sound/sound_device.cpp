// The output device: the library's stream, opened through the platform's audio device.
#include "sound/sound.h"

SoundDevice::~SoundDevice() { Close(); }

int32_t SoundDevice::Open(const SoundFormat* fmt, int32_t frames, AudioFillCallback callback,
                          void* callbackContext) {
  if (isOpen) return -2;
  if (!fmt || !callback) return -1;
  uint32_t flags = fmt->flags;
  if (flags == 0) return -1;
  if ((flags & 0x10) && (flags & 0x01)) return -1;
  if ((flags & 0x20) && (flags & 0x02)) return -1;
  if (fmt->channels <= 0 || fmt->channels > 2) return -1;
  if (fmt->rate <= 0) return -1;

  // Buffers of 128 ms each, enough of them to cover the requested length, at least 4.
  int64_t count = (int64_t(frames) * 1000 / fmt->rate) >> 7;
  if (count < 4) count = 4;
  if (count > 128) count = 128;
  bool sixteen = (flags & 0x02) != 0;
  int32_t frameBytes = (sixteen ? 2 : 1) * fmt->channels;
  int64_t bytes = (int64_t(fmt->rate) * frameBytes * 128 / 1000 + 7) & ~int64_t(7);

  // The platform streams signed 16-bit samples only: an 8-bit format finds no device.
  Platform* machine = CurrentPlatform();
  if (!machine || !sixteen) return -1;
  AudioSpec wanted;
  wanted.rate = fmt->rate;
  wanted.channels = fmt->channels;
  wanted.samples = int(bytes / frameBytes);
  if (!machine->OpenAudio(wanted, callback, callbackContext)) return -1;

  platform = machine;
  format = *fmt;
  fill = callback;
  context = callbackContext;
  bufferCount = int32_t(count);
  bytesPerBuffer = int32_t(bytes);
  isOpen = true;
  paused = true;
  return 0;
}

int32_t SoundDevice::Close() {
  if (!isOpen) return -3;
  // The platform stops its device thread; the lock must not be held while it waits for it.
  platform->CloseAudio();
  platform = nullptr;
  isOpen = false;
  paused = false;
  return 0;
}

void SoundDevice::Lock() {
  if (isOpen) platform->LockAudio();
}

void SoundDevice::Unlock() {
  if (isOpen) platform->UnlockAudio();
}

void SoundDevice::Pause() {
  if (!isOpen || paused) return;
  Lock();
  platform->PauseAudio(true);
  Unlock();
  paused = true;
}

void SoundDevice::Resume() {
  if (!isOpen || !paused) return;
  Lock();
  platform->PauseAudio(false);
  Unlock();
  paused = false;
}
