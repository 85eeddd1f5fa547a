/* Instruction counter for i386 programs run under qemu-i386, which makes
 * their timings meaningless. Loaded with
 *   qemu-i386 -plugin insn_count.so,out=FILE PROGRAM ...
 * it counts the guest instructions executed between each pair of clock
 * system calls and writes one count per pair to FILE. The benchmark reads
 * the clock exactly twice per repetition, so with one repetition per case
 * the n-th line is the n-th case's timed region.
 *
 * The few declarations of the emulator's plugin interface (version 1) are
 * written out here because Debian ships no header for it. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

typedef uint64_t qemu_plugin_id_t;
struct qemu_plugin_tb;
struct qemu_info_t;
enum qemu_plugin_op { QEMU_PLUGIN_INLINE_ADD_U64 };

void qemu_plugin_register_vcpu_tb_trans_cb(qemu_plugin_id_t id,
                                           void (*cb)(qemu_plugin_id_t, struct qemu_plugin_tb*));
size_t qemu_plugin_tb_n_insns(const struct qemu_plugin_tb* tb);
void qemu_plugin_register_vcpu_tb_exec_inline(struct qemu_plugin_tb* tb, enum qemu_plugin_op op,
                                              void* ptr, uint64_t imm);
void qemu_plugin_register_vcpu_syscall_cb(qemu_plugin_id_t id,
                                          void (*cb)(qemu_plugin_id_t, unsigned int, int64_t,
                                                     uint64_t, uint64_t, uint64_t, uint64_t,
                                                     uint64_t, uint64_t, uint64_t, uint64_t));
void qemu_plugin_register_atexit_cb(qemu_plugin_id_t id, void (*cb)(qemu_plugin_id_t, void*),
                                    void* userdata);

__attribute__((visibility("default"))) int qemu_plugin_version = 1;

enum { kClockGettime = 265, kClockGettime64 = 403 }; /* i386 numbers */

static uint64_t sInsns; /* single-threaded guest: one plain counter */
static uint64_t sStart;
static int sOpen; /* a start read is waiting for its stop read */
static FILE* sOut;

static void onTranslate(qemu_plugin_id_t id, struct qemu_plugin_tb* tb) {
  (void)id;
  qemu_plugin_register_vcpu_tb_exec_inline(tb, QEMU_PLUGIN_INLINE_ADD_U64, &sInsns,
                                           qemu_plugin_tb_n_insns(tb));
}

static void onSyscall(qemu_plugin_id_t id, unsigned int vcpu, int64_t num, uint64_t a1, uint64_t a2,
                      uint64_t a3, uint64_t a4, uint64_t a5, uint64_t a6, uint64_t a7,
                      uint64_t a8) {
  (void)id, (void)vcpu, (void)a1, (void)a2, (void)a3, (void)a4, (void)a5, (void)a6, (void)a7,
      (void)a8;
  if (num != kClockGettime && num != kClockGettime64) return;
  if (!sOpen) {
    sStart = sInsns;
  } else {
    fprintf(sOut, "%llu\n", (unsigned long long)(sInsns - sStart));
    fflush(sOut);
  }
  sOpen = !sOpen;
}

static void onExit(qemu_plugin_id_t id, void* p) {
  (void)id, (void)p;
  fprintf(sOut, "total %llu\n", (unsigned long long)sInsns);
  fclose(sOut);
}

__attribute__((visibility("default"))) int qemu_plugin_install(qemu_plugin_id_t id,
                                                               const struct qemu_info_t* info,
                                                               int argc, char** argv) {
  (void)info;
  for (int i = 0; i < argc; ++i)
    if (strncmp(argv[i], "out=", 4) == 0) sOut = fopen(argv[i] + 4, "w");
  if (!sOut) {
    fprintf(stderr, "insn_count: give out=FILE\n");
    return -1;
  }
  qemu_plugin_register_vcpu_tb_trans_cb(id, onTranslate);
  qemu_plugin_register_vcpu_syscall_cb(id, onSyscall);
  qemu_plugin_register_atexit_cb(id, onExit, 0);
  return 0;
}
