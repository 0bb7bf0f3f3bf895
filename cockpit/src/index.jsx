import { createRoot } from "react-dom/client";
import "@patternfly/react-core/dist/styles/base.css";
import "./zovcfg.css";
import { App } from "./app.jsx";

createRoot(document.getElementById("app")).render(<App />);
