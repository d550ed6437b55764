// Speed and memory of the engine library on the longest text the program
// sends (2048 bytes of Chinese, GBK, 16000 Hz), next to espeak-ng's own
// command line reading the same text with the same voice.
//   msc_bench [runs]
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "msc.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string toGbk(const std::string& utf8) {
  const iconv_t cd = iconv_open("GBK", "UTF-8");
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* outPtr = out.data();
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// Whole sentences up to 2048 GBK bytes, then single characters to fill up.
std::string benchText() {
  const std::string sentences[] = {"今天天气很好，我们一起去公园散步。", "春天来了，花儿都开了，小鸟在树上唱歌。",
                                   "人工智能正在改变我们的生活方式，语音合成技术让机器能够说话。"};
  std::string utf8;
  for (std::size_t i = 0;; ++i) {
    const std::string& next = sentences[i % 3];
    if (toGbk(utf8 + next).size() > 2048) break;
    utf8 += next;
  }
  while (toGbk(utf8 + "好").size() <= 2048) utf8 += "好";
  return utf8;
}

struct Run {
  double firstPiece = 0, lastPiece = 0, audioSeconds = 0;
  int pieces = 0;
};

Run synthesize(const std::string& params, const std::string& gbk, int rate) {
  int error = 0;
  const std::string id = QTTSSessionBegin(params.c_str(), &error);
  std::vector<char> audio;
  Run run;
  const auto start = Clock::now();
  if (QTTSTextPut(id.c_str(), gbk.data(), static_cast<unsigned>(gbk.size()), "") != MSC_OK) std::exit(1);
  int status = 0;
  while (status != MSC_STATUS_DONE) {
    unsigned length = 0;
    const void* data = QTTSAudioGet(id.c_str(), &length, &status, &error);
    if (error != MSC_OK) std::exit(1);
    if (data && length) {
      if (run.pieces++ == 0) run.firstPiece = secondsSince(start);
      audio.insert(audio.end(), static_cast<const char*>(data), static_cast<const char*>(data) + length);
    }
  }
  run.lastPiece = secondsSince(start);
  run.audioSeconds = static_cast<double>(audio.size()) / 2 / rate;
  QTTSSessionEnd(id.c_str(), "");
  return run;
}

struct Command {
  double seconds = 0;
  long peakKiB = 0;
};

Command runEspeak(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::exit(1);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  posix_spawn_file_actions_destroy(&actions);
  return {secondsSince(start), usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string utf8 = benchText();
  const std::string gbk = toGbk(utf8);
  const char* config = "server_url=tts.invalid/index.htm,appid=5a1b2c3d,timeout=10000,coding_libs=speex.dll,max_text_size=2048";
  const std::string params16 =
      "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad";
  std::string params8 = params16;
  params8.replace(params8.find("rate=16000"), 10, "rate=8000");
  std::string paramsBed = params16;
  paramsBed.replace(paramsBed.find("bgs=0"), 5, "bgs=5");

  std::printf("text: %zu GBK bytes (%zu UTF-8), voice xiaoyan = espeak-ng cmn-latn-pinyin+f3\n\n", gbk.size(), utf8.size());
  // espeak-ng's command line first, while this process is still small: a
  // child's peak memory counts the parent's at the time it was started.
  char path[] = "/tmp/msc_bench_XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return 1;
  close(fd);
  std::ofstream(path) << utf8;
  auto espeakBest = [&](const std::vector<std::string>& args) {
    Command best{1e9, 0};
    for (int i = 0; i < runs; ++i) {
      const Command c = runEspeak(args);
      if (c.seconds < best.seconds) best = c;
    }
    return best;
  };
  const Command stdoutRun = espeakBest({"espeak-ng", "-v", "cmn-latn-pinyin+f3", "-s", "175", "-p", "50", "-f", path, "--stdout"});
  const Command wavRun =
      espeakBest({"espeak-ng", "-v", "cmn-latn-pinyin+f3", "-s", "175", "-p", "50", "-f", path, "-w", std::string(path) + ".wav"});
  std::remove(path);
  std::remove((std::string(path) + ".wav").c_str());
  const auto initStart = Clock::now();
  if (QTTSInit(config) != MSC_OK) return 1;
  std::printf("QTTSInit (loads espeak-ng)              %7.3f s\n", secondsSince(initStart));

  auto report = [&](const char* name, const std::string& params, int rate) {
    const Run cold = synthesize(params, gbk, rate);
    Run best = cold;
    for (int i = 1; i < runs; ++i) {
      const Run r = synthesize(params, gbk, rate);
      if (r.lastPiece < best.lastPiece) best = r;
    }
    std::printf("%-22s put->last %6.3f s (first run %6.3f s), first piece %6.4f s, audio %6.1f s in %d pieces, "
                "real-time factor %.5f\n",
                name, best.lastPiece, cold.lastPiece, best.firstPiece, best.audioSeconds, best.pieces,
                best.lastPiece / best.audioSeconds);
    return best;
  };
  const Run engine = report("engine 16000 Hz", params16, 16000);
  report("engine 8000 Hz", params8, 8000);
  report("engine 16000 Hz bgs=5", paramsBed, 16000);
  QTTSFini();
  rusage self{};
  getrusage(RUSAGE_SELF, &self);
  std::printf("engine process peak resident memory     %7.1f MiB\n\n", static_cast<double>(self.ru_maxrss) / 1024);

  std::printf("espeak-ng -v cmn-latn-pinyin+f3 -f TEXT --stdout >/dev/null  %6.3f s, peak <= %5.1f MiB (22050 Hz)\n",
              stdoutRun.seconds, static_cast<double>(stdoutRun.peakKiB) / 1024);
  std::printf("espeak-ng -v cmn-latn-pinyin+f3 -f TEXT -w FILE.wav          %6.3f s, peak <= %5.1f MiB\n", wavRun.seconds,
              static_cast<double>(wavRun.peakKiB) / 1024);
  std::printf("\nengine / espeak-ng command line: %.2f (stdout), %.2f (wav)\n", engine.lastPiece / stdoutRun.seconds,
              engine.lastPiece / wavRun.seconds);
  return 0;
}
