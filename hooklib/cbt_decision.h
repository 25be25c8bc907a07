/* What CbtProc does with one call, as a pure function: shared by the hook library and
 * the unit tests. Plain C, no runtime. */
#ifndef TESSARY_CBT_DECISION_H
#define TESSARY_CBT_DECISION_H

#define TYHOOK_HCBT_SETFOCUS 9 /* HCBT_SETFOCUS; 5 is HCBT_ACTIVATE, which reports nothing */
#define TYHOOK_IME_CMODE_NATIVE 1UL

typedef struct TyhookReport {
  int post;   /* non-zero: post WM_IMESTATE to the frame window */
  long state; /* its lParam: 1 Hangul, 0 English, -1 no input context */
} TyhookReport;

/* code: the hook code; hasContext: the window gaining the focus has an input context,
 * whose conversion mode is `conversion`; frameFound: a frame window exists;
 * frameIsTarget: it is the window gaining the focus. */
static inline TyhookReport TyhookDecide(int code, int hasContext, unsigned long conversion, int frameFound,
                                        int frameIsTarget) {
  TyhookReport report;
  report.post = 0;
  report.state = -1;
  if (code != TYHOOK_HCBT_SETFOCUS) return report;
  report.state = hasContext ? (long)(conversion & TYHOOK_IME_CMODE_NATIVE) : -1;
  /* No frame: nowhere to post (a null window would post to this thread's own queue). */
  report.post = frameFound && !frameIsTarget;
  return report;
}

#endif
