// The sound library: its device, its players and channels with their volume and pan rules.
#include <new>

#include "sound/sound.h"

namespace {

// Volumes of the library run 0..64; anything else is taken as full.
int32_t LibraryVolume(int32_t volume) { return (volume < 0 || volume > 64) ? 64 : volume; }
// Pan and separation run 0..255; anything else is taken as 255.
int32_t LibraryPan(int32_t value) { return (value < 0 || value > 255) ? 255 : value; }

void ApplyTrackVolumes(MusicPlayer* player) {
  for (int32_t t = 0; t < kMusicTracks; ++t)
    player->trackMixVolume[t] = (player->trackVolume[t] * player->effectiveVolume) >> 6;
}

}  // namespace

void SetPlayerVolume(MusicPlayer* player, int32_t volume, int32_t master) {
  player->volume = LibraryVolume(volume);
  player->effectiveVolume = (player->volume * master) >> 6;
  ApplyTrackVolumes(player);
}

void SetPlayerTrackVolume(MusicPlayer* player, int32_t track, int32_t volume) {
  if (track < 0 || track >= kMusicTracks) return;
  player->trackVolume[track] = LibraryVolume(volume);
  ApplyTrackVolumes(player);
}

void SetPlayerSeparation(MusicPlayer* player, int32_t value) {
  player->separation = LibraryPan(value);
  // Full separation puts even tracks at 64 and odd ones at 192; none puts both mid-way.
  int32_t p = (16320 - 64 * player->separation) >> 8;
  for (int32_t t = 0; t < kMusicTracks; ++t)
    player->trackPosition[t] = (t % 2 == 0) ? p + 64 : 192 - p;
}

void SetLibraryChannelVolume(LibraryChannel* channel, int32_t volume, int32_t master) {
  channel->volume = LibraryVolume(volume);
  channel->effectiveVolume = (channel->volume * master) >> 6;
}

void SetLibraryChannelPan(LibraryChannel* channel, int32_t value) {
  channel->pan = LibraryPan(value);
}

SoundLibrary::~SoundLibrary() { Shutdown(); }

int32_t SoundLibrary::Initialise(int32_t outputRate, int32_t bits, bool wantStereo,
                                 int32_t playerWanted, int32_t channelWanted) {
  if (initialised) return -2;
  if (!device) device = new (std::nothrow) SoundDevice;
  if (!device) return -5;

  SoundFormat fmt;
  fmt.rate = outputRate;
  fmt.flags = bits == 16 ? kFormat16Bit : kFormat8Bit;
  fmt.channels = wantStereo ? 2 : 1;
  int32_t frames = int32_t(int64_t(bufferMs) * outputRate / 1000);
  int32_t result = device->Open(&fmt, frames, FillBlock, this);
  if (result != 0) return result;

  rate = outputRate;
  is16Bit = bits == 16;
  stereo = wantStereo;
  // The players never play in this game, so they need no note-rate tables of their own.

  if (playerWanted < 1) playerWanted = 1;
  if (playerWanted > 3) playerWanted = 3;
  if (channelWanted < 8) channelWanted = 8;
  if (channelWanted > 64) channelWanted = 64;
  players = new (std::nothrow) MusicPlayer[size_t(playerWanted)]();
  channels = new (std::nothrow) LibraryChannel[size_t(channelWanted)]();
  if (!players || !channels) {
    delete[] players;
    delete[] channels;
    players = nullptr;
    channels = nullptr;
    device->Close();
    return -10;
  }
  playerCount = playerWanted;
  channelCount = channelWanted;
  musicMaster = 64;
  soundMaster = 64;
  for (int32_t i = 0; i < playerCount; ++i) {
    for (int32_t t = 0; t < kMusicTracks; ++t) players[i].trackVolume[t] = 64;
    SetPlayerVolume(&players[i], 64, musicMaster);
    SetPlayerSeparation(&players[i], 255);
  }
  for (int32_t i = 0; i < channelCount; ++i) {
    SetLibraryChannelVolume(&channels[i], 64, soundMaster);
    SetLibraryChannelPan(&channels[i], 128);
  }
  device->Resume();
  initialised = true;
  return 0;
}

void SoundLibrary::Shutdown() {
  if (initialised && device) device->Close();
  delete device;
  device = nullptr;
  delete[] players;
  delete[] channels;
  players = nullptr;
  channels = nullptr;
  playerCount = 0;
  channelCount = 0;
  initialised = false;
}

void SoundLibrary::SetMusicMasterVolume(uint32_t volume) {
  musicMaster = int32_t(volume > 64 ? 64 : volume);
  for (int32_t i = 0; i < playerCount; ++i)
    SetPlayerVolume(&players[i], players[i].volume, musicMaster);
}

void SoundLibrary::SetSoundMasterVolume(uint32_t volume) {
  soundMaster = int32_t(volume > 64 ? 64 : volume);
  for (int32_t i = 0; i < channelCount; ++i)
    SetLibraryChannelVolume(&channels[i], channels[i].volume, soundMaster);
}
