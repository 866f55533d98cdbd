#!/usr/bin/env bash
# Starts a CUPS scheduler with cups-pdf queues for the print-job tests and stops
# it again when the calling shell exits. scripts/run-tests.sh sources it; to run
# the print tests by hand (as root):
#   source scripts/test-services/printer.sh && QT_QPA_PLATFORM=offscreen build-print/tests/printjob/printjob_test
# Exports:
#   LETTERLOOM_PRINTER            queue that accepts jobs and writes each as a PDF
#   LETTERLOOM_PRINTER_REJECTING  queue that refuses new jobs (cupsreject)
#   LETTERLOOM_PRINTER_STOPPED    queue that takes jobs but does not print them (cupsdisable)
#   LETTERLOOM_PRINT_OUT          folder the PDFs of LETTERLOOM_PRINTER land in
#   LETTERLOOM_CUPSD_PIDFILE      pid of the scheduler started here; a test that stops and
#                                 restarts it writes the new pid, which the exit trap stops

letterloom_printer_start() {
  local name=letterloom
  local out=/tmp/letterloom-cups-pdf
  local conf=/etc/cups/cups-pdf-$name.conf
  local ppd=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd

  if [ "$(id -u)" -ne 0 ]; then
    echo "printer.sh: CUPS is started as root only; the print tests will be skipped" >&2
    return 0
  fi

  if ! lpstat -r 2>/dev/null | grep -q "scheduler is running"; then
    mkdir -p /run/cups /var/log/cups /var/spool/cups/tmp
    cupsd -f >/tmp/letterloom-cupsd.log 2>&1 &
    LETTERLOOM_CUPSD_PID=$!
    echo "$LETTERLOOM_CUPSD_PID" >/tmp/letterloom-cupsd.pid
    export LETTERLOOM_CUPSD_PIDFILE=/tmp/letterloom-cupsd.pid
    local waited=0
    until lpstat -r 2>/dev/null | grep -q "scheduler is running"; do
      if [ "$waited" -ge 100 ] || ! kill -0 "$LETTERLOOM_CUPSD_PID" 2>/dev/null; then
        echo "printer.sh: the CUPS scheduler did not start (see /tmp/letterloom-cupsd.log)" >&2
        return 1
      fi
      sleep 0.1
      waited=$((waited + 1))
    done
  fi

  mkdir -p "$out"
  chmod 1777 "$out"
  rm -f "$out"/*.pdf
  printf 'Out %s\nLabel 2\nAnonUMask 0000\nUserUMask 0000\n' "$out" >"$conf"

  local queue
  for queue in LetterloomPDF LetterloomRejecting LetterloomStopped; do
    letterloom_printer_admin lpadmin -p "$queue" -v "cups-pdf:/$name" -E -m "$ppd" \
      -o pdftops-renderer-default=pdftocairo || return 1
  done
  letterloom_printer_admin cupsreject LetterloomRejecting || return 1
  letterloom_printer_admin cupsdisable LetterloomStopped || return 1

  export LETTERLOOM_PRINTER=LetterloomPDF
  export LETTERLOOM_PRINTER_REJECTING=LetterloomRejecting
  export LETTERLOOM_PRINTER_STOPPED=LetterloomStopped
  export LETTERLOOM_PRINT_OUT=$out
}

# lpadmin warns on every call that printer drivers are deprecated; only a
# failing command's output is worth showing.
letterloom_printer_admin() {
  local output
  if ! output=$("$@" 2>&1); then
    echo "printer.sh: $* failed: $output" >&2
    return 1
  fi
}

letterloom_printer_stop() {
  cancel -a LetterloomStopped 2>/dev/null || true
  if [ -n "${LETTERLOOM_CUPSD_PID:-}" ]; then
    local pid
    pid=$(cat "$LETTERLOOM_CUPSD_PIDFILE" 2>/dev/null || echo "$LETTERLOOM_CUPSD_PID")
    kill "$pid" 2>/dev/null || true
    wait "$LETTERLOOM_CUPSD_PID" 2>/dev/null || true
    rm -f "$LETTERLOOM_CUPSD_PIDFILE"
    LETTERLOOM_CUPSD_PID=
  fi
}

# Runs our cleanup first and then whatever EXIT trap the caller had set.
letterloom_printer_chain_exit_trap() {
  local previous=""
  eval "set -- $(trap -p EXIT)"
  [ $# -ge 3 ] && previous=$3
  # shellcheck disable=SC2064
  trap "letterloom_printer_stop${previous:+; $previous}" EXIT
}

letterloom_printer_chain_exit_trap
letterloom_printer_start
