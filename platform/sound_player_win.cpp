#include "platform/sound_player_win.h"

#include <mmsystem.h>

#include <memory>
#include <vector>

#include "platform/on_demand_win.h"

namespace pendra {

namespace {

// A file up to this size is read whole and played from memory, so stopping
// it never waits for a file; a larger one is played by its name.
constexpr LONGLONG kLargestInMemory = 64LL << 20;

// The file's bytes; none when it cannot be read, empty when it is too large
// to be read whole.
std::optional<std::vector<char>> ReadSound(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<char>> bytes(std::in_place);
  LARGE_INTEGER size{};
  if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart > kLargestInMemory) {
    CloseHandle(file);
    return bytes;
  }
  char chunk[64 * 1024];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes->insert(bytes->end(), chunk, chunk + got);
    if (static_cast<LONGLONG>(bytes->size()) > kLargestInMemory) {
      bytes.reset();  // a device that never ends
      break;
    }
  }
  CloseHandle(file);
  if (bytes && bytes->empty()) bytes.reset();
  return bytes;
}

}  // namespace

struct SoundPlayer::Shared {
  CRITICAL_SECTION lock;
  HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);     // a request waits
  HANDLE decided = CreateEventA(nullptr, TRUE, TRUE, nullptr);    // the last Start was tried
  bool hasRequest = false, play = false, quit = false, played = false;
  std::string path;
  std::vector<char> playing;  // the sound played from memory, kept while it plays
  LONG refs = 2;              // the player and its thread

  Shared() { InitializeCriticalSection(&lock); }
  ~Shared() {
    DeleteCriticalSection(&lock);
    CloseHandle(wake);
    CloseHandle(decided);
  }
  void Release() {
    if (InterlockedDecrement(&refs) == 0) delete this;
  }

  void Run() {
    for (;;) {
      WaitForSingleObject(wake, INFINITE);
      for (;;) {
        EnterCriticalSection(&lock);
        if (quit || !hasRequest) {
          const bool done = quit;
          LeaveCriticalSection(&lock);
          if (!done) break;
          PlaySoundFile(nullptr, nullptr, 0);
          return;
        }
        const bool start = play;
        const std::string file = path;
        hasRequest = false;
        LeaveCriticalSection(&lock);
        PlaySoundFile(nullptr, nullptr, 0);
        playing.clear();
        if (start) Begin(file);
      }
    }
  }

  void Begin(const std::string& file) {
    std::optional<std::vector<char>> bytes = ReadSound(file);
    BOOL ok = FALSE;
    if (bytes && bytes->empty()) {
      ok = PlaySoundFile(file.c_str(), GetModuleHandleA(nullptr), SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
    } else if (bytes) {
      playing = std::move(*bytes);
      ok = PlaySoundFile(playing.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    }
    EnterCriticalSection(&lock);
    // A Start given meanwhile is decided when it is tried.
    if (!(hasRequest && play)) {
      played = ok != FALSE;
      SetEvent(decided);
    }
    LeaveCriticalSection(&lock);
  }

  static DWORD WINAPI ThreadProc(LPVOID self) {
    auto* shared = static_cast<Shared*>(self);
    shared->Run();
    shared->Release();
    return 0;
  }
};

SoundPlayer::~SoundPlayer() {
  if (!shared_) return;
  // A thread held up by a file it opens finishes when the file answers, or
  // with the process; it is never waited for.
  EnterCriticalSection(&shared_->lock);
  shared_->quit = true;
  SetEvent(shared_->wake);
  LeaveCriticalSection(&shared_->lock);
  shared_->Release();
}

void SoundPlayer::Request(bool play, const std::string& path) {
  if (!shared_) {
    auto shared = std::make_unique<Shared>();
    HANDLE thread = CreateThread(nullptr, 0, &Shared::ThreadProc, shared.get(), 0, nullptr);
    if (!thread) return;
    CloseHandle(thread);
    shared_ = shared.release();
  }
  EnterCriticalSection(&shared_->lock);
  if (play) {
    ResetEvent(shared_->decided);
  } else if (shared_->hasRequest && shared_->play) {
    shared_->played = false;  // given way before it was tried
    SetEvent(shared_->decided);
  }
  shared_->hasRequest = true;
  shared_->play = play;
  shared_->path = path;
  SetEvent(shared_->wake);
  LeaveCriticalSection(&shared_->lock);
}

bool SoundPlayer::Start(const std::string& path) {
  Request(true, path);
  return shared_ != nullptr;
}

void SoundPlayer::Stop() {
  if (shared_) Request(false, {});
}

std::optional<bool> SoundPlayer::Outcome(DWORD ms) {
  if (!shared_) return false;
  if (WaitForSingleObject(shared_->decided, ms) != WAIT_OBJECT_0) return std::nullopt;
  EnterCriticalSection(&shared_->lock);
  const bool played = shared_->played;
  LeaveCriticalSection(&shared_->lock);
  return played;
}

}  // namespace pendra
