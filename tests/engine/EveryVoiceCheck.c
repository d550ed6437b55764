/* Loads libmsc.so the way the program does (dlopen, its own declarations of
 * the six functions) and runs one synthesis per voice code and sample rate in
 * the program's order. Fails unless every run yields audible 16-bit mono PCM
 * whose length fits its rate. Usage: EveryVoiceCheck path/to/libmsc.so */
#include <dlfcn.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef int (*InitFn)(const char* configs);
typedef const char* (*SessionBeginFn)(const char* params, int* errorCode);
typedef int (*TextPutFn)(const char* sessionId, const char* text, unsigned int textLen, const char* params);
typedef const void* (*AudioGetFn)(const char* sessionId, unsigned int* audioLen, int* synthStatus,
                                  int* errorCode);
typedef int (*SessionEndFn)(const char* sessionId, const char* hints);
typedef int (*FiniFn)(void);

static const char* const kVoices[] = {
    "xiaoyan", "xiaoqi", "aisxping", "aisjinger", "yefang", "aisxmeng", "aismengchun", "ziqi",
    "jiajia", "aisxa", "aisjying", "aisxchun", "vixf", "aisjiuxu", "aisduoxu", "xiaoyu",
    "niyang", "vils", "aisbabyxu", "vinn", "aisxxin", "xiaowanzi", "aisduck",
    "Catherine", "vimary", "henry", "aisjohn", "aisTom",
    "vixm", "vixl", "vixr", "vixyun", "vixying", "vixk", "vixqa", "aisdalong"};

/* 今天天气很好，我们去公园散步。Hello world. in GBK */
static const char kText[] =
    "\xBD\xF1\xCC\xEC\xCC\xEC\xC6\xF8\xBA\xDC\xBA\xC3\xA3\xAC\xCE\xD2\xC3\xC7\xC8\xA5\xB9\xAB"
    "\xD4\xB0\xC9\xA2\xB2\xBD\xA1\xA3"
    "Hello world.";
/* 正常关闭 in GBK */
static const char kHints[] = "\xD5\xFD\xB3\xA3\xB9\xD8\xB1\xD5";

static InitFn init;
static SessionBeginFn sessionBegin;
static TextPutFn textPut;
static AudioGetFn audioGet;
static SessionEndFn sessionEnd;
static FiniFn fini;

static char currentSessionId[128];

/* Returns the byte count of the whole audio, 0 on failure. */
static size_t synthesize(const char* voice, int rate, double* rms) {
  char params[256];
  snprintf(params, sizeof params,
           "ssm=1,vcn=%s,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
           "auf=audio/L16;rate=%d,rdn=0,emot=sad",
           voice, rate);
  if (currentSessionId[0]) sessionEnd(currentSessionId, kHints);
  int error = 0;
  const char* id = sessionBegin(params, &error);
  snprintf(currentSessionId, sizeof currentSessionId, "%s", id ? id : "");
  if (error != 0 || !currentSessionId[0]) {
    fprintf(stderr, "%s %d: session begin failed, code %d\n", voice, rate, error);
    return 0;
  }
  error = textPut(currentSessionId, kText, (unsigned int)strlen(kText), "");
  if (error != 0) {
    fprintf(stderr, "%s %d: text put failed, code %d\n", voice, rate, error);
    return 0;
  }
  size_t total = 0;
  double sumSquares = 0;
  int status = 0;
  for (long polls = 0; status != 2; ++polls) {
    unsigned int length = 0;
    error = 0;
    const void* data = audioGet(currentSessionId, &length, &status, &error);
    if (error != 0 || polls > 100000) {
      fprintf(stderr, "%s %d: audio get failed, code %d after %ld polls\n", voice, rate, error, polls);
      return 0;
    }
    if (data && length) {
      if (length % 2 != 0) {
        fprintf(stderr, "%s %d: odd piece length %u\n", voice, rate, length);
        return 0;
      }
      const short* samples = (const short*)data;
      for (unsigned int i = 0; i < length / 2; ++i) sumSquares += (double)samples[i] * samples[i];
      total += length;
    }
  }
  *rms = total ? sqrt(sumSquares / (double)(total / 2)) : 0;
  return total;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s libmsc.so\n", argv[0]);
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  /* The POSIX way to take a function pointer from dlsym. */
  *(void**)&init = dlsym(library, "QTTSInit");
  *(void**)&sessionBegin = dlsym(library, "QTTSSessionBegin");
  *(void**)&textPut = dlsym(library, "QTTSTextPut");
  *(void**)&audioGet = dlsym(library, "QTTSAudioGet");
  *(void**)&sessionEnd = dlsym(library, "QTTSSessionEnd");
  *(void**)&fini = dlsym(library, "QTTSFini");
  if (!init || !sessionBegin || !textPut || !audioGet || !sessionEnd || !fini) {
    fprintf(stderr, "a function is missing\n");
    return 1;
  }
  if (init("server_url=tts.invalid/index.htm,appid=5a1b2c3d,timeout=10000,coding_libs=speex.dll,"
           "max_text_size=2048") != 0) {
    fprintf(stderr, "init failed\n");
    return 1;
  }
  int failures = 0;
  for (size_t v = 0; v < sizeof kVoices / sizeof kVoices[0]; ++v) {
    double rms16 = 0, rms8 = 0;
    const size_t bytes16 = synthesize(kVoices[v], 16000, &rms16);
    const size_t bytes8 = synthesize(kVoices[v], 8000, &rms8);
    const double seconds = (double)bytes16 / 2 / 16000.0;
    const double ratio = bytes16 ? (double)bytes8 / (double)bytes16 : 0;
    const int ok = bytes16 && bytes8 && seconds > 1.0 && seconds < 20.0 && ratio > 0.42 && ratio < 0.58 &&
                   rms16 > 300 && rms8 > 300;
    printf("%-12s %6.2f s  8000/16000 bytes %.3f  rms %5.0f %5.0f  %s\n", kVoices[v], seconds, ratio, rms16, rms8,
           ok ? "ok" : "FAILED");
    failures += !ok;
  }
  if (currentSessionId[0] && sessionEnd(currentSessionId, kHints) == 0) fini();
  if (failures) fprintf(stderr, "%d voices failed\n", failures);
  return failures ? 1 : 0;
}
