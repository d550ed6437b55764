/* The speech engine library: offline text to speech behind six C functions.
 *
 * One process-wide engine. Calls may come from any thread: every use of the
 * speech back end is serialised inside the library. Each session keeps its own
 * voice and settings; texts of different sessions are synthesised one after
 * another, in the order they were put.
 *
 * Strings are zero-terminated byte strings. Apart from the text given to
 * QTTSTextPut (decoded as its session's "tte" says) they are ASCII.
 *
 * Every function that reports a result uses the codes of MscError: 0 is
 * success, every failure has its own positive code. msc_ErrorText turns a
 * code into a short English description.
 */
#ifndef MSC_H
#define MSC_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(MSC_BUILDING_LIBRARY)
#define MSC_API __attribute__((visibility("default")))
#else
#define MSC_API
#endif

typedef enum {
  MSC_OK = 0,
  MSC_ERROR_NOT_INITIALIZED = 1,     /* QTTSInit has not succeeded, or QTTSFini has run since */
  MSC_ERROR_ALREADY_INITIALIZED = 2, /* QTTSInit again without QTTSFini */
  MSC_ERROR_INVALID_CONFIG = 3,      /* malformed configuration string, or a null one */
  MSC_ERROR_INVALID_PARAMETER = 4,   /* malformed session parameter string, bad value, null argument, empty text */
  MSC_ERROR_UNKNOWN_VOICE = 5,       /* "vcn" names no voice of this engine */
  MSC_ERROR_UNKNOWN_SESSION = 6,     /* no open session has this id (never begun, or ended) */
  MSC_ERROR_NO_TEXT = 7,             /* QTTSAudioGet before the session's first QTTSTextPut */
  MSC_ERROR_SESSION_BUSY = 8,        /* QTTSTextPut before the previous text's audio was collected */
  MSC_ERROR_TEXT_TOO_LONG = 9,       /* more bytes than the configured max_text_size */
  MSC_ERROR_TEXT_ENCODING = 10,      /* the text bytes are not valid in the session's "tte" */
  MSC_ERROR_SYNTHESIS_FAILED = 11,   /* the speech back end refused the text or a voice */
  MSC_ERROR_OUT_OF_MEMORY = 12,
  MSC_ERROR_ENGINE_UNAVAILABLE = 13, /* the speech back end or its voice data could not be loaded */
  MSC_ERROR_TOO_MANY_SESSIONS = 14   /* MSC_MAX_SESSIONS sessions are open */
} MscError;

/* Sessions that may be open at the same time. */
#define MSC_MAX_SESSIONS 64

/* Synthesis status reported by QTTSAudioGet. */
#define MSC_STATUS_MORE 1 /* more audio of the text will follow */
#define MSC_STATUS_DONE 2 /* the text's audio has been handed out completely */

/* QTTSInit: starts the engine.
 * configs: comma-separated key=value pairs. Known keys: server_url, appid,
 *   timeout (decimal), coding_libs, max_text_size (decimal bytes, 1..1048576,
 *   default 2048). server_url, appid, timeout and coding_libs are accepted
 *   and unused: the engine runs offline. Unknown keys are ignored; empty
 *   pieces are skipped; a piece without "=", an empty key, a repeated key or
 *   a non-decimal number is malformed.
 * Returns 0, MSC_ERROR_INVALID_CONFIG, MSC_ERROR_ALREADY_INITIALIZED or
 *   MSC_ERROR_ENGINE_UNAVAILABLE.
 * The speech back end is loaded on the first successful call and stays
 *   loaded for the life of the process; the caller's LC_CTYPE locale is
 *   left as it was. */
MSC_API int QTTSInit(const char* configs);

/* QTTSSessionBegin: opens a session.
 * params: comma-separated key=value pairs, split at the first "=":
 *   vcn   voice code, letter case exact (required; engine/VOICES.md)
 *   spd   x-slow | slow | medium | fast | x-fast                 (medium)
 *   vol   x-soft | soft | medium | loud | x-loud                 (medium)
 *   ttp   text | ssml                                            (text)
 *   tte   AUTO | GB2312 | GBK | BIG5 | UNICODE | GB18030 | UTF8 (AUTO)
 *         UNICODE is UTF-16LE; AUTO is UTF-8 when the bytes are valid
 *         UTF-8, else GB18030; GB2312 is read as its superset GBK.
 *   bgs   0 (none) .. 11, a quiet background bed under the speech  (0)
 *   aue   raw | amr | amr-fx | amr-wb | amr-wb-fx (";0".. ";7") |
 *         speex | speex-wb (";0" .. ";10")                         (raw)
 *         Accepted and checked only: there is no network to compress
 *         for, and the audio handed back is always 16-bit PCM.
 *   auf   audio/L16;rate=8000 | audio/L16;rate=16000               (16000)
 *   rdn   0 numbers, 1 numbers, 2 every digit alone, 3 digits alone for
 *         runs longer than four digits or with a leading zero     (0)
 *   ssm, emot  accepted, any value
 *   Unknown keys are ignored; a repeated key is malformed.
 * errorCode (may be null): receives 0 or the failure's code.
 * Returns the session id, a zero-terminated string owned by the library and
 *   valid until QTTSSessionEnd or QTTSFini; null on failure. */
MSC_API const char* QTTSSessionBegin(const char* params, int* errorCode);

/* QTTSTextPut: gives the session its text and starts synthesis.
 * text, textLen: the text bytes and their count in bytes (1..max_text_size),
 *   encoded as the session's "tte" says; the bytes are copied.
 * params: unused, may be null.
 * A session takes its next text once QTTSAudioGet has reported
 *   MSC_STATUS_DONE for the previous one.
 * Returns 0, MSC_ERROR_NOT_INITIALIZED, MSC_ERROR_UNKNOWN_SESSION,
 *   MSC_ERROR_INVALID_PARAMETER, MSC_ERROR_TEXT_TOO_LONG,
 *   MSC_ERROR_TEXT_ENCODING or MSC_ERROR_SESSION_BUSY. */
MSC_API int QTTSTextPut(const char* sessionId, const char* text, unsigned int textLen,
                        const char* params);

/* QTTSAudioGet: hands out the next piece of the text's audio.
 * Audio: signed 16-bit little-endian mono PCM at the session's "auf" rate,
 *   in pieces of at most half a second.
 * audioLen (may be null): receives the piece's length in bytes, 0 when none.
 * synthStatus (may be null): MSC_STATUS_MORE while more will come,
 *   MSC_STATUS_DONE with the last piece or after it; also MSC_STATUS_DONE on
 *   every failure, since nothing more will come.
 * errorCode (may be null): 0, or MSC_ERROR_NOT_INITIALIZED,
 *   MSC_ERROR_UNKNOWN_SESSION, MSC_ERROR_NO_TEXT, MSC_ERROR_SYNTHESIS_FAILED.
 * Returns the piece, owned by the library and valid until the next call for
 *   this session, its QTTSSessionEnd or QTTSFini; null when there is no piece.
 *   When no piece is ready yet the call waits for one, never longer than
 *   about 20 ms, then returns null with MSC_STATUS_MORE. */
MSC_API const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLen,
                                 int* synthStatus, int* errorCode);

/* QTTSSessionEnd: ends the session and frees it; synthesis still running for
 * it stops. Later use of its id gives MSC_ERROR_UNKNOWN_SESSION.
 * hints: unused, may be null.
 * Returns 0, MSC_ERROR_NOT_INITIALIZED or MSC_ERROR_UNKNOWN_SESSION. */
MSC_API int QTTSSessionEnd(const char* sessionId, const char* hints);

/* QTTSFini: ends every session and frees the engine's state; QTTSInit may
 * follow. Returns 0, or MSC_ERROR_NOT_INITIALIZED when nothing was started. */
MSC_API int QTTSFini(void);

/* msc_ErrorText: a short English description of a code; a static string,
 * never null ("unknown error code" for codes outside MscError). */
MSC_API const char* msc_ErrorText(int code);

#ifdef __cplusplus
}
#endif

#endif
