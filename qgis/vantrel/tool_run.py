"""Runs vantrel-cli, turning its progress lines into the Processing feedback's progress bar and log,
and stopping it as a user's Ctrl-C would when the user cancels."""

import os
import re
import selectors
import signal
import subprocess

from qgis.core import QgsProcessingException

# A fault: "vantrel-cli: ..." from a run, "vantrel-cli segment: ..." from a command's usage.
ERROR_LINE = re.compile(r"vantrel-cli(?: [a-z]+)?: (?P<message>.+)")
STAGE_LINE = re.compile(r"(?P<stage>.+)\.\.\.")
PERCENT_LINE = re.compile(r"(?P<stage>.+): (?P<percent>\d{1,3})%")
# How often a cancel is looked for while the tool says nothing.
CANCEL_POLL_SECONDS = 0.1


class StageProgress:
    """The run's progress bar: each stage of `stages` takes an equal share of it."""

    def __init__(self, feedback, stages):
        self.feedback = feedback
        self.stages = list(stages)

    def start(self, stage):
        self.show(stage, 0)
        self.feedback.setProgressText(stage)

    def show(self, stage, percent):
        index = self.stages.index(stage)
        self.feedback.setProgress(100.0 * (index + min(percent, 100) / 100.0) / len(self.stages))


class ToolOutput:
    """Reads the tool's standard error line by line. Only the stages the algorithm expects count
    as stages, since a note may end with "..." too; every other line goes to the log."""

    def __init__(self, progress):
        self.progress = progress
        self.error = None

    def read(self, line):
        stage = STAGE_LINE.fullmatch(line)
        if stage and stage["stage"] in self.progress.stages:
            self.progress.start(stage["stage"])
            return
        percent = PERCENT_LINE.fullmatch(line)
        if percent and percent["stage"] in self.progress.stages:
            self.progress.show(percent["stage"], int(percent["percent"]))
            return
        error = ERROR_LINE.fullmatch(line)
        if error and self.error is None:
            self.error = error["message"]
        elif line:
            self.progress.feedback.pushInfo(line)


def run_tool(command, progress):
    """Runs `command` to its end; raises with the tool's own message when it fails, and with
    "cancelled" once the user cancelled and the tool, interrupted, has removed what it began."""
    feedback = progress.feedback
    feedback.pushCommandInfo(subprocess.list2cmdline(command))
    output = ToolOutput(progress)
    process = subprocess.Popen(
        command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
    )
    interrupted = False
    pending = b""
    with process, selectors.DefaultSelector() as selector:
        selector.register(process.stderr, selectors.EVENT_READ)
        while True:
            if feedback.isCanceled() and not interrupted:
                process.send_signal(signal.SIGINT)
                interrupted = True
            if not selector.select(CANCEL_POLL_SECONDS):
                continue
            chunk = os.read(process.stderr.fileno(), 65536)
            if not chunk:
                break
            *lines, pending = (pending + chunk).split(b"\n")
            for line in lines:
                output.read(line.decode("utf-8", "replace").rstrip("\r"))
        output.read(pending.decode("utf-8", "replace"))
    status = process.returncode
    # The tool dies of the signal once it has cleaned up; a shell would report that as 130.
    if interrupted and status in (-signal.SIGINT, 128 + signal.SIGINT):
        raise QgsProcessingException("Cancelled: vantrel-cli was stopped and wrote nothing.")
    if status == 0:
        feedback.setProgress(100)
        return
    if output.error is not None:
        raise QgsProcessingException(output.error)
    if status < 0:
        raise QgsProcessingException(f"vantrel-cli was stopped by signal {-status}.")
    raise QgsProcessingException(f"vantrel-cli failed with exit status {status}.")
