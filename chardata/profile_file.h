// The three calls of the Windows profile-file functions the configuration
// needs. The Windows build passes Win32ProfileFile; native tests, the fuzz
// target and the benchmark pass PortableProfileFile, which reads and writes
// the files as Windows does.
#pragma once

#include <string>
#include <vector>

namespace rf::chardata {

// Buffer sizes of the calls, in bytes including the terminating zeros.
inline constexpr int kKeyListBufferSize = 8192;
inline constexpr int kValueBufferSize = 1024;

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;

  // The key names of a section in file order, as the call with no key name
  // and an 8192-byte buffer reports them (an overlong list is cut the way
  // that call cuts it). Empty for a missing section or file.
  virtual std::vector<std::string> KeyNames(const std::string& path,
                                            const std::string& section) = 0;

  // The value of a key, or the default when the key (or file) is missing;
  // at most kValueBufferSize - 1 characters.
  virtual std::string ReadText(const std::string& path, const std::string& section,
                               const std::string& key, const std::string& default_text) = 0;

  // Writes one value; false when the file cannot be written.
  virtual bool WriteText(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& value) = 0;

  // A load asks some two thousand questions of one file in a row. Between
  // these two calls an implementation may answer them from one reading of
  // the file instead of checking it again at every call.
  virtual void BeginSnapshot() {}
  virtual void EndSnapshot() {}
};

// Holds a snapshot for as long as it lives.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(ProfileFile& profile) : profile_(profile) { profile_.BeginSnapshot(); }
  ~ProfileSnapshot() { profile_.EndSnapshot(); }
  ProfileSnapshot(const ProfileSnapshot&) = delete;
  ProfileSnapshot& operator=(const ProfileSnapshot&) = delete;

 private:
  ProfileFile& profile_;
};

}  // namespace rf::chardata
