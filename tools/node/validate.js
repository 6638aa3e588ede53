// Checks glTF files (binary or JSON) with the Khronos glTF validator: prints each file's report as one line of
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
      // Files beside it (a ".gltf" file's buffer and images) are read from its folder; nothing
      // else may be fetched.
      externalResourceFunction: (uri) => {
        const name = decodeURIComponent(uri);
        if (name.includes('/') || name.includes('\\') || name.startsWith('.')) {
          return Promise.reject(new Error('external resource ' + uri));
        }
        return Promise.resolve(new Uint8Array(fs.readFileSync(path.join(path.dirname(file), name))));
      },
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
