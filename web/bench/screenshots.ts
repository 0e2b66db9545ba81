// The README's pictures of the web page: docs/web/phone.png (360 px wide) and
// docs/web/desktop.png. Run: node web/tools/bench.mjs screenshots (after scripts/build-web.sh).
import { join } from "node:path";
import { launch, openFile, openPage, root, tab } from "../tests/harness";

const b = await launch();
const page = await openPage(b);
await openFile(page, join(root, "examples/veteran.vrn"));
await tab(page, "Attributes");
await page.setViewportSize({ width: 1200, height: 760 });
await page.screenshot({ path: join(root, "docs/web/desktop.png") });
await tab(page, "Talents");
await page.setViewportSize({ width: 360, height: 740 });
await page.screenshot({ path: join(root, "docs/web/phone.png") });
await b.close();
