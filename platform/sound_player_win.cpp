#include "platform/sound_player_win.h"

#include <mmsystem.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/on_demand_win.h"

namespace pendra {

namespace {

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

// PlaySound takes RIFF wave files only: anything else is silent from the start.
bool IsWave(const char* head, std::size_t size) {
  return size >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

// The sound file's bytes; none when it cannot be played; empty when it is
// to be played by its name: a wave file on a disk, too large to be read whole.
// A pipe or a device has no size, and cannot be opened a second time: it is
// read up to the limit, and one that goes on beyond it stays silent.
std::optional<std::vector<char>> ReadSound(const std::string& path) {
  const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  const bool disk = GetFileType(file.get()) == FILE_TYPE_DISK && GetFileSizeEx(file.get(), &size);
  std::vector<char> bytes;
  DWORD got = 0;
  if (disk && size.QuadPart > SoundPlayer::kLargestInMemory) {
    char head[12];
    if (!ReadFile(file.get(), head, sizeof head, &got, nullptr) || !IsWave(head, got)) return std::nullopt;
    return bytes;
  }
  bytes.reserve(disk ? static_cast<std::size_t>(size.QuadPart) : 64 * 1024);
  char chunk[64 * 1024];
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    if (static_cast<LONGLONG>(bytes.size() + got) > SoundPlayer::kLargestInMemory) return std::nullopt;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (!IsWave(bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

}  // namespace

struct SoundPlayer::Shared {
  CRITICAL_SECTION lock;
  HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);     // a request waits
  HANDLE decided = CreateEventA(nullptr, TRUE, TRUE, nullptr);    // the last request was handled
  PlayFunction play;
  bool hasRequest = false, start = false, quit = false, played = false;
  std::string path;
  std::vector<char> playing;  // the sound played from memory, kept while it plays
  LONG refs = 2;              // the player and its thread

  explicit Shared(PlayFunction playFunction) : play(playFunction) { InitializeCriticalSection(&lock); }
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
          play(nullptr, nullptr, 0);
          return;
        }
        const bool begin = start;
        std::string file;
        file.swap(path);  // nothing that could throw while the lock is held
        hasRequest = false;
        LeaveCriticalSection(&lock);
        play(nullptr, nullptr, 0);
        std::vector<char>().swap(playing);
        const bool plays = begin && Begin(file);
        EnterCriticalSection(&lock);
        // A request given meanwhile is decided when it is handled.
        if (!hasRequest) {
          played = plays;
          SetEvent(decided);
        }
        LeaveCriticalSection(&lock);
      }
    }
  }

  // Whether the sound plays. No error leaves here: the thread's end would end
  // the program.
  bool Begin(const std::string& file) noexcept {
    try {
      std::optional<std::vector<char>> bytes = ReadSound(file);
      if (!bytes) return false;
      if (bytes->empty())
        return play(file.c_str(), GetModuleHandleA(nullptr), SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
      playing = std::move(*bytes);
      return play(playing.data(), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT) != FALSE;
    } catch (...) {
      std::vector<char>().swap(playing);
      return false;
    }
  }

  static DWORD WINAPI ThreadProc(LPVOID self) {
    auto* shared = static_cast<Shared*>(self);
    shared->Run();
    shared->Release();
    return 0;
  }
};

SoundPlayer::SoundPlayer(PlayFunction play) : play_(play ? play : PlaySoundFile) {}

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
    auto shared = std::make_unique<Shared>(play_);
    HANDLE thread = CreateThread(nullptr, 0, &Shared::ThreadProc, shared.get(), 0, nullptr);
    if (!thread) return;
    CloseHandle(thread);
    shared_ = shared.release();
  }
  std::string copy = path;  // made before the lock: a failure leaves it free
  EnterCriticalSection(&shared_->lock);
  ResetEvent(shared_->decided);
  shared_->hasRequest = true;
  shared_->start = play;
  shared_->path.swap(copy);
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
