// Checks glTF files with the Khronos glTF validator: prints each file's report as one line of
// JSON (its error, warning, info and hint counts and its messages) and exits with 1 when any
// file has an error, 2 when a file cannot be read.
'use strict';

const fs = require('fs');
const path = require('path');
const validator = require('gltf-validator');

async function main(files) {
  let failed = false;
  for (const file of files) {
    const bytes = new Uint8Array(fs.readFileSync(file));
    const report = await validator.validateBytes(bytes, {
      uri: path.basename(file),
      maxIssues: 100,
      // Everything lives inside the file; nothing else may be fetched.
      externalResourceFunction: (uri) => Promise.reject(new Error('external resource ' + uri)),
    });
    const issues = report.issues;
    console.log(JSON.stringify({
      file,
      errors: issues.numErrors,
      warnings: issues.numWarnings,
      infos: issues.numInfos,
      hints: issues.numHints,
      messages: issues.messages,
    }));
    failed = failed || issues.numErrors > 0;
  }
  return failed ? 1 : 0;
}

main(process.argv.slice(2)).then(
  (status) => process.exit(status),
  (error) => {
    console.error(String(error));
    process.exit(2);
  });
