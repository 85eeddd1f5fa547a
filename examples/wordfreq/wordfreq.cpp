// wordfreq: prints the most frequent words of a text.
//
//   wordfreq [-n COUNT] [FILE]
//
// Reads FILE, or standard input when FILE is absent or "-", and prints the
// COUNT (default 10) most frequent words as "COUNT WORD" lines, the most
// frequent first and equal counts in byte order of the words. A word is a run
// of letters folded to lower case; bytes above 127 (UTF-8 text) count as
// letters, and an apostrophe between two letters belongs to the word.
//
// Exit status: 0 on success (an empty input prints nothing), 1 when the input
// cannot be read, holds binary data (a NUL byte) or memory runs out, 2 for a
// wrong command line.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char kUsage[] = "usage: wordfreq [-n COUNT] [FILE]\n";

// A run of equal words in the sorted word list.
struct Group {
  size_t first;  // index of its first word
  size_t count;
};

// Byte order. The string's own operator< would put every shorter word first.
bool ByteLess(const std::string& a, const std::string& b) { return a.compare(b.c_str()) < 0; }

// Most frequent first, equal counts in byte order.
struct ByFrequency {
  const std::vector<std::string>* words;
  bool operator()(const Group& a, const Group& b) const {
    if (a.count != b.count) return a.count > b.count;
    return ByteLess((*words)[a.first], (*words)[b.first]);
  }
};

bool IsLetter(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}

enum Status { kOk, kReadError, kBinary, kNoMemory };

// Appends all of `in` to `text`. Growth is exact, so capacity is doubled here
// to keep a long input from being copied once per chunk.
Status ReadAll(FILE* in, std::string& text) {
  char chunk[65536];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, in)) > 0) {
    if (memchr(chunk, '\0', n) != 0) return kBinary;
    const size_t want = text.size() + n;
    if (want > text.capacity()) text.reserve(std::max(want, 2 * text.capacity()));
    text.append(chunk, n);
    // Nothing throws: a failed append leaves the size unchanged.
    if (text.size() != want) return kNoMemory;
  }
  return ferror(in) ? kReadError : kOk;
}

// An apostrophe between two letters belongs to the word: don't, o'clock.
bool InWord(const std::string& text, size_t i) {
  if (IsLetter(text[i])) return true;
  return text[i] == '\'' && i > 0 && i + 1 < text.size() && IsLetter(text[i - 1]) &&
         IsLetter(text[i + 1]);
}

// Folds letters to lower case and turns every byte outside a word into a blank.
void Normalise(std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (!InWord(text, i)) {
      text[i] = ' ';
    } else if (text[i] >= 'A' && text[i] <= 'Z') {
      text[i] = char(text[i] - 'A' + 'a');
    }
  }
}

// The first word at or after `pos`: its start, or npos when none is left.
// `*end` is set to the position after it.
size_t NextWord(const std::string& text, size_t pos, size_t* end) {
  const size_t start = text.find_first_not_of(' ', pos);
  if (start != std::string::npos) *end = std::min(text.find(' ', start), text.size());
  return start;
}

// Past 256 elements a vector grows by 256 slots at a time, copying every
// word on each step: count the words first and reserve once.
Status Split(const std::string& text, std::vector<std::string>& words) {
  const size_t npos = std::string::npos;
  size_t count = 0;
  for (size_t end = 0; NextWord(text, end, &end) != npos;) ++count;
  if (!words.reserve(count)) return kNoMemory;
  for (size_t end = 0, start; (start = NextWord(text, end, &end)) != npos;) {
    words.push_back(text.substr(start, end - start));
    // A copy that found no memory is empty.
    if (words.back().size() != end - start) return kNoMemory;
  }
  return kOk;
}

// Sorts the words and collects each run of equal ones.
Status Count(std::vector<std::string>& words, std::vector<Group>& groups) {
  std::sort(words.begin(), words.end(), ByteLess);
  if (!groups.reserve(words.size())) return kNoMemory;
  for (size_t i = 0; i < words.size(); ++i) {
    if (!groups.empty() && words[i] == words[groups.back().first]) {
      ++groups.back().count;
    } else {
      const Group group = {i, 1};
      groups.push_back(group);
    }
  }
  return kOk;
}

bool ParseCount(const char* arg, size_t* count) {
  if (*arg < '0' || *arg > '9') return false;
  char* end;
  errno = 0;
  const unsigned long value = strtoul(arg, &end, 10);
  if (*end != '\0' || errno != 0 || value != size_t(value)) return false;
  *count = value;
  return true;
}

const char* Reason(Status status, int read_errno) {
  switch (status) {
    case kReadError:
      return strerror(read_errno);
    case kBinary:
      return "binary data (a NUL byte); no words counted";
    case kNoMemory:
      return "out of memory";
    default:
      return "no error";
  }
}

int Fail(const char* name, const char* why) {
  std::cerr << "wordfreq: " << name << ": " << why << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  size_t top = 10;
  const char* path = 0;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (strcmp(arg, "-h") == 0 || strcmp(arg, "--help") == 0) {
      std::cout << kUsage;
      return 0;
    }
    if (strcmp(arg, "-n") == 0 && i + 1 < argc) {
      if (!ParseCount(argv[++i], &top)) {
        std::cerr << "wordfreq: -n wants a count, not '" << argv[i] << "'\n" << kUsage;
        return 2;
      }
    } else if ((arg[0] == '-' && arg[1] != '\0') || path != 0) {
      std::cerr << kUsage;
      return 2;
    } else {
      path = arg;
    }
  }

  const bool from_stdin = path == 0 || strcmp(path, "-") == 0;
  const char* name = from_stdin ? "standard input" : path;
  FILE* in = from_stdin ? stdin : fopen(path, "rb");
  if (in == 0) return Fail(name, strerror(errno));
  std::string text;
  Status status = ReadAll(in, text);
  const int read_errno = errno;
  if (!from_stdin) fclose(in);
  if (status != kOk) return Fail(name, Reason(status, read_errno));

  Normalise(text);
  std::vector<std::string> words;
  std::vector<Group> groups;
  status = Split(text, words);
  text.clear();  // releases the block: the words hold their own copies
  if (status == kOk) status = Count(words, groups);
  if (status != kOk) return Fail(name, Reason(status, 0));

  const ByFrequency by_frequency = {&words};
  std::sort(groups.begin(), groups.end(), by_frequency);
  for (size_t i = 0; i < groups.size() && i < top; ++i) {
    std::cout << groups[i].count << ' ' << words[groups[i].first] << '\n';
  }
  return 0;
}
